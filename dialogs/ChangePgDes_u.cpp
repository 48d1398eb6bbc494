#include "dialogs/ChangePgDes_u.h"

#include "dialogs/DialogParts.h"
#include "store/linefile.h"
#include "ui/look.h"
#include "ui/platform.h"
#include "ui/windows.h"

namespace {

using Row = dialogs::ControlRow;

constexpr Row kControls[] = {
    Row::picture("Image1", {0, 0, 321, 169}, "dialog_bg"),
    Row::frame(),
    Row::label("Label4", {0, 48, 313, 16}, "Write a helpfull description", 13, ui::sys::Light3D,
               Qt::AlignHCenter | Qt::AlignTop),
    Row::defaultButton("Button1", {120, 131, 75, 25}, "OK"),
    Row::greyEdit("Edit1", {24, 96, 265, 21}, "Type Here"),
};

}  // namespace

TChangePA::TChangePA(QWidget* parent) : QWidget(parent) {
  // The title text sits at a fixed place and does not move the window; the background does.
  ui::ChromeLayout frame = dialogs::dialogChrome(QStringLiteral("Edit Page Description"));
  frame.titleName = QStringLiteral("Label1");
  frame.rightName = QStringLiteral("Label2");
  frame.bottomName = QStringLiteral("Label3");
  frame.borderRect = QRect(-6, 1, 319, 25);
  frame.titleDrags = false;
  chrome = dialogs::build(this, QStringLiteral("Change Page Description"), QSize(315, 164),
                          kControls, frame);
  Image1 = dialogs::control<QLabel>(this, "Image1");
  Label1 = chrome->title;
  Label1->move(84, 4);
  chrome->addDragPiece(Image1);
  Label4 = dialogs::control<QLabel>(this, "Label4");
  Button1 = dialogs::control<QPushButton>(this, "Button1");
  Edit1 = dialogs::control<QLineEdit>(this, "Edit1");
  // A failed write goes to the standard error report from here: an error must not unwind
  // through the toolkit's click handling, which leaks the event and skips its clean-up.
  connect(Button1, &QPushButton::clicked, this,
          [this] { ui::runReported([this] { Button1Click(); }); });
  ui::centreOnFirstShow(this);
}

void TChangePA::Button1Click() {
  // A failure leaves the dialog open and goes on to the standard error report.
  store::ModifyLine(filetoedit, linen, Edit1->text());
  hide();
}

void TChangePA::showCentredOn(const QWidget* home) {
  ui::centreOnceOn(this, home);
  ui::showInFront(this);
}
