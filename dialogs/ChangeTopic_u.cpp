#include "dialogs/ChangeTopic_u.h"

#include <stdexcept>

#include "dialogs/DialogParts.h"
#include "dialogs/Error_u.h"
#include "store/datatree.h"
#include "store/linefile.h"
#include "ui/look.h"
#include "ui/windows.h"

namespace {

using Row = dialogs::ControlRow;

constexpr Row kControls[] = {
    Row::picture("Image1", {0, 0, 321, 169}, "dialog_bg"),
    Row::frame(),
    Row::label("Label4", {0, 48, 313, 16}, "What's this topic about?", 13, ui::sys::Light3D,
               Qt::AlignHCenter | Qt::AlignTop),
    Row::defaultButton("Button1", {117, 131, 75, 25}, "OK"),
    Row::greyEdit("name", {24, 96, 265, 21}, "Type Here"),
};

}  // namespace

TTopicEdit::TTopicEdit(TErrorFrame* errorFrame, QWidget* parent)
    : QWidget(parent), errorFrame_(errorFrame) {
  ui::ChromeLayout frame = dialogs::dialogChrome(QStringLiteral("Edit Topic"));
  frame.rightName = QStringLiteral("Label2");
  frame.bottomName = QStringLiteral("Label3");
  chrome = dialogs::build(this, QStringLiteral("Edit TOpic"), QSize(316, 165), kControls, frame);
  Image1 = dialogs::control<QLabel>(this, "Image1");
  Label4 = dialogs::control<QLabel>(this, "Label4");
  Button1 = dialogs::control<QPushButton>(this, "Button1");
  name = dialogs::control<QLineEdit>(this, "name");
  connect(Button1, &QPushButton::clicked, this, &TTopicEdit::Button1Click);
  ui::centreOnFirstShow(this);
}

void TTopicEdit::Button1Click() {
  if (name->text().isEmpty()) {
    ui::notice(errorFrame_, QStringLiteral("warning"), QStringLiteral("You must type something!"),
               QString(), QStringLiteral("Okay"));
    return;
  }
  try {
    // A slot outside 1..10 comes from a damaged topic address; it is refused like any
    // other failed write rather than touching a line of another topic.
    if (linen < 1 || linen > store::kSlots) throw std::out_of_range("topic slot");
    store::ModifyLine(
        store::dataRoot() + QStringLiteral("/") + lgandpage + QStringLiteral("/topics.txt"),
        linen - 1, name->text());
    hide();
    done = true;
  } catch (...) {
    ui::notice(errorFrame_, QStringLiteral("error"),
               QStringLiteral("A Error has occured. Acess Denied"),
               QStringLiteral("Error Code: 103"), QStringLiteral("Close"));
  }
}
