#include "dialogs/ChangeTopic_u.h"

#include <stdexcept>

#include "dialogs/DialogParts.h"
#include "dialogs/Error_u.h"
#include "store/datatree.h"
#include "store/linefile.h"
#include "ui/windows.h"

namespace {

constexpr auto kControls =
    dialogs::oneLineDialog("What's this topic about?", {117, 131, 75, 25}, "name");

}  // namespace

TTopicEdit::TTopicEdit(TErrorFrame* errorFrame, QWidget* parent)
    : QWidget(parent), errorFrame_(errorFrame) {
  ui::ChromeLayout frame = dialogs::dialogChrome(QStringLiteral("Edit Topic"));
  frame.rightName = QStringLiteral("Label2");
  frame.bottomName = QStringLiteral("Label3");
  dialogs::build(this, QStringLiteral("Edit TOpic"), QSize(316, 165), kControls, frame);
  name = dialogs::control<QLineEdit>(this, "name");
  connect(dialogs::control<QPushButton>(this, "Button1"), &QPushButton::clicked, this,
          &TTopicEdit::Button1Click);
  ui::centreOnFirstShow(this);
}

void TTopicEdit::Button1Click() {
  if (name->text().isEmpty()) {
    ui::notice(errorFrame_, QStringLiteral("warning"), QStringLiteral("You must type something!"),
               QString(), QStringLiteral("Okay"), this);
    return;
  }
  try {
    // A slot outside 1..10 comes from a damaged topic address; it is refused like any
    // other failed write rather than touching a line of another topic.
    if (linen_ < 1 || linen_ > store::kSlots) throw std::out_of_range("topic slot");
    store::ModifyLine(store::topicsPathFor(lgandpage_), linen_ - 1, name->text());
    hide();
    done_ = true;
  } catch (...) {
    ui::notice(errorFrame_, QStringLiteral("error"),
               QStringLiteral("A Error has occured. Acess Denied"),
               QStringLiteral("Error Code: 103"), QStringLiteral("Close"), this);
  }
}

void TTopicEdit::openFor(const QString& lgandpage, int linen, const QString& text,
                         QWidget* opener) {
  name->setText(text);
  linen_ = linen;
  lgandpage_ = lgandpage;
  done_ = false;
  opener_ = opener;
  ui::showFor(this, opener);
  // Typing replaces the name; Enter writes it, Escape leaves it.
  name->selectAll();
  name->setFocus();
}

QString TTopicEdit::takeName() {
  done_ = false;
  return name->text();
}
