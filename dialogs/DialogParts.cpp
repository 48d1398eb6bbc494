#include "dialogs/DialogParts.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPalette>

#include "ui/access.h"
#include "ui/look.h"

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

// Closes the window when Escape reaches it, sent to it directly or passed on by a child
// that did not use the key.
class EscapeCloses : public QObject {
 public:
  explicit EscapeCloses(QWidget* window) : QObject(window), window_(window) {}

  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(ev);
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
    window_->close();
    return true;
  }

 private:
  QWidget* window_;
};

// The font of controls whose row gives none (push buttons, edit boxes).
QFont controlFont() {
  return ui::font(ui::Face::Tahoma, 11);
}

QWidget* makeControl(QWidget* window, const ControlRow& row) {
  const QString name = QString::fromLatin1(row.name);
  const QString text = QString::fromUtf8(row.text);
  switch (row.kind) {
    case ControlRow::Picture:
      return ui::makeImageShownLater(window, name, row.rect, row.fit, text);
    case ControlRow::Text:
      return ui::makeLabel(window, {name, row.rect, text, ui::font(ui::Face::Tahoma, row.px),
                                    row.colour ? *row.colour : ui::sys::WindowText, row.align});
    case ControlRow::DefaultButton:
      return makeDefaultButton(window, name, row.rect, text);
    case ControlRow::GreyEdit:
      return makeGreyEdit(window, name, row.rect, text);
    case ControlRow::Frame:
      break;
  }
  return nullptr;
}

}  // namespace

ui::Chrome* build(QWidget* window, const QString& caption, const QSize& size,
                  std::span<const ControlRow> rows, const ui::ChromeLayout& frame) {
  // A dialog window: the desktop keeps it with the window it is shown for (ui::showFor).
  window->setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  window->setWindowTitle(caption);
  window->installEventFilter(new EscapeCloses(window));
  window->setFont(controlFont());
  window->setFixedSize(size);
  ui::Chrome* chrome = nullptr;
  for (const ControlRow& row : rows) {
    if (row.kind == ControlRow::Frame) {
      chrome = new ui::Chrome(window, frame);
      continue;
    }
    QWidget* made = makeControl(window, row);
    if (row.hide) made->hide();
    const QString spoken = QString::fromUtf8(row.spoken);
    if (row.kind == ControlRow::Picture && spoken.isEmpty()) ui::access::leaveOut(made);
    if (row.kind == ControlRow::Picture && !spoken.isEmpty()) ui::access::name(made, spoken);
    if (row.kind == ControlRow::GreyEdit)
      ui::access::name(made, spoken, QString::fromUtf8(row.text));
  }
  return chrome;
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

}  // namespace dialogs
