#include "dialogs/DialogParts.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>

#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"

namespace dialogs {

namespace {

// Presses the default button when Enter reaches the window, either sent to it directly or
// passed on by a child that did not use the key (an edit box, a label).
class EnterPresses : public QObject {
 public:
  EnterPresses(QWidget* window, QPushButton* button) : QObject(window), button_(button) {}

  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(ev);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (!button_->isVisible() || !button_->isEnabled()) return false;
    button_->click();
    return true;
  }

 private:
  QPushButton* button_;
};

// Puts a picture on its image control when the control is first shown, before it paints.
class PictureOnShow : public QObject {
 public:
  PictureOnShow(QLabel* image, const QString& picture) : QObject(image), picture_(picture) {
    image->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* ev) override {
    if (ev->type() == QEvent::Show) {
      auto* image = static_cast<QLabel*>(watched);
      image->removeEventFilter(this);
      ui::setImage(image, ui::pictureOrNothing(picture_));
      deleteLater();
    }
    return false;
  }

 private:
  QString picture_;
};

}  // namespace

QLabel* makeImageShownLater(QWidget* parent, const QString& name, const QRect& rect, ui::Fit fit,
                            const QString& picture) {
  QLabel* image = ui::makeImage(parent, name, rect, fit);
  new PictureOnShow(image, picture);
  return image;
}

ui::ChromeLayout dialogChrome(const QString& title) {
  ui::ChromeLayout layout;
  layout.title = title;
  layout.titleName = QStringLiteral("title");
  layout.dialog = true;
  layout.minimise = false;
  layout.resizable = false;
  return layout;
}

QFont controlFont() {
  return ui::font(ui::Face::Tahoma, 11);
}

void setUpWindow(QWidget* window, const QString& caption, const QSize& size) {
  window->setWindowFlag(Qt::FramelessWindowHint, true);
  window->setWindowTitle(caption);
  window->setFont(controlFont());
  window->setFixedSize(size);
}

QPushButton* makeDefaultButton(QWidget* window, const QString& name, const QRect& rect,
                               const QString& caption) {
  auto* b = new QPushButton(caption, window);
  b->setObjectName(name);
  b->setGeometry(rect);
  b->setFont(controlFont());
  b->setDefault(true);
  window->installEventFilter(new EnterPresses(window, b));
  return b;
}

QLineEdit* makeGreyEdit(QWidget* window, const QString& name, const QRect& rect,
                        const QString& hint) {
  auto* e = new QLineEdit(window);
  e->setObjectName(name);
  e->setGeometry(rect);
  e->setFont(controlFont());
  e->setAlignment(Qt::AlignCenter);
  e->setPlaceholderText(hint);
  ui::setBackground(e, ui::rgb::Grey, false);
  ui::setTextColor(e, ui::sys::InactiveBorder);
  // The hint in a light grey, so it stays readable on the grey box.
  QPalette p = e->palette();
  p.setColor(QPalette::PlaceholderText, ui::sys::ActiveBorder);
  e->setPalette(p);
  return e;
}

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

}  // namespace dialogs
