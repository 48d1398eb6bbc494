#include "ui/windows.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

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

namespace {
QRect availableArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect();
}

// The start of a window of `size` along an area from `start` of `length`, placed at
// `wanted`: inside the area where it fits, at the area's start where it does not.
int within(int wanted, int size, int start, int length) {
  if (size >= length) return start;
  return std::clamp(wanted, start, start + length - size);
}
}  // namespace

QPoint screenCentredPos(const QWidget* window) {
  const QRect area = availableArea();
  const QSize outer = window->frameGeometry().size();
  // Conversion to int truncates toward zero.
  // Too wide or too tall for the area: its top-left corner, the title strip and both ends
  // of it on the screen as far as they can be.
  if (outer.width() > area.width() || outer.height() > area.height()) return area.topLeft();
  const int left = static_cast<int>(area.width() / 2.0 - outer.width() / 2.0);
  const int top = static_cast<int>(area.height() / 2.0 - outer.height() / 2.0);
  return area.topLeft() + QPoint(left, top);
}

QPoint insideScreen(const QWidget* window, QPoint pos) {
  const QRect area = availableArea();
  if (area.isEmpty()) return pos;
  const QSize outer = window->frameGeometry().size();
  return QPoint(within(pos.x(), outer.width(), area.left(), area.width()),
                within(pos.y(), outer.height(), area.top(), area.height()));
}

QPoint centredOnPos(const QWidget* window, const QWidget* other) {
  const QRect around = other->frameGeometry();
  const QSize outer = window->frameGeometry().size();
  return insideScreen(window, around.topLeft() + QPoint((around.width() - outer.width()) / 2,
                                                        (around.height() - outer.height()) / 2));
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

void showFor(QWidget* window, QWidget* opener) {
  QWindow* parent = nullptr;
  if (opener) {
    QWidget* top = opener->window();
    top->winId();  // an opener not shown yet gets its place on the desktop now
    parent = top->windowHandle();
  }
  window->winId();
  QWindow* handle = window->windowHandle();
  if (handle->transientParent() != parent) {
    // The desktop learns whom a window belongs to when it appears.
    if (window->isVisible()) window->hide();
    handle->setTransientParent(parent);
  }
  showInFront(window);
}

void notice(NoticeWindow* window, const QString& mode, const QString& text, const QString& text2,
            const QString& button, QWidget* opener) {
  if (window) {
    window->setOpener(opener);
    window->StartHandle(mode, text, text2, button);
  } else {
    reportError(text2.isEmpty() ? text : text + QStringLiteral(" ") + text2);
  }
}

}  // namespace ui
