#include "ui/windows.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "ui/platform.h"

namespace ui {

namespace {

// Set on a window once it has been placed.
constexpr char kPlaced[] = "quillPlaced";

bool takePlacing(QWidget* window) {
  if (window->property(kPlaced).toBool()) return false;
  window->setProperty(kPlaced, true);
  return true;
}

// Centres its window on the screen when the window is shown for the first time, before it
// reaches the screen.
class CentreOnFirstShow : public QObject {
 public:
  explicit CentreOnFirstShow(QWidget* window) : QObject(window) {
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* ev) override {
    if (ev->type() == QEvent::Show) {
      auto* window = static_cast<QWidget*>(watched);
      window->removeEventFilter(this);
      if (takePlacing(window)) window->move(screenCentredPos(window));
      deleteLater();
    }
    return false;
  }
};

}  // namespace

QPoint screenCentredPos(const QWidget* window) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QSize outer = window->frameGeometry().size();
  // Conversion to int truncates toward zero.
  const int left = static_cast<int>(screen.width() / 2.0 - outer.width() / 2.0);
  const int top = static_cast<int>(screen.height() / 2.0 - outer.height() / 2.0);
  return screen.topLeft() + QPoint(left, top);
}

QPoint centredOnPos(const QWidget* window, const QWidget* other) {
  const QRect around = other->frameGeometry();
  const QSize outer = window->frameGeometry().size();
  return around.topLeft() +
         QPoint((around.width() - outer.width()) / 2, (around.height() - outer.height()) / 2);
}

void centreOnFirstShow(QWidget* window) {
  new CentreOnFirstShow(window);
}

void centreOnceOn(QWidget* window, const QWidget* other) {
  if (other && takePlacing(window)) window->move(centredOnPos(window, other));
}

void showInFront(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

void notice(NoticeWindow* window, const QString& mode, const QString& text, const QString& text2,
            const QString& button) {
  if (window) {
    window->StartHandle(mode, text, text2, button);
  } else {
    reportError(text2.isEmpty() ? text : text + QStringLiteral(" ") + text2);
  }
}

}  // namespace ui
