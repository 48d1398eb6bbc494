#include "dialogs/ChangePgDes_u.h"

#include "dialogs/DialogParts.h"
#include "store/linefile.h"
#include "ui/platform.h"
#include "ui/windows.h"

namespace {

constexpr auto kControls =
    dialogs::oneLineDialog("Write a helpfull description", {120, 131, 75, 25}, "Edit1");

}  // namespace

TChangePA::TChangePA(QWidget* parent) : QWidget(parent) {
  // The title text sits at a fixed place and does not move the window; the background does.
  ui::ChromeLayout frame = dialogs::dialogChrome(QStringLiteral("Edit Page Description"));
  frame.titleName = QStringLiteral("Label1");
  frame.rightName = QStringLiteral("Label2");
  frame.bottomName = QStringLiteral("Label3");
  frame.borderRect = QRect(-6, 1, 319, 25);
  frame.titleDrags = false;
  ui::Chrome* chrome = dialogs::build(this, QStringLiteral("Change Page Description"),
                                      QSize(315, 164), kControls, frame);
  chrome->title->move(84, 4);  // Label1
  chrome->addDragPiece(dialogs::control<QLabel>(this, "Image1"));
  Edit1 = dialogs::control<QLineEdit>(this, "Edit1");
  auto* Button1 = dialogs::control<QPushButton>(this, "Button1");
  // A failed write goes to the standard error report from here: an error must not unwind
  // through the toolkit's click handling, which leaks the event and skips its clean-up.
  connect(Button1, &QPushButton::clicked, this,
          [this] { ui::runReported([this] { Button1Click(); }); });
  ui::centreOnFirstShow(this);
}

void TChangePA::Button1Click() {
  // A failure leaves the dialog open and goes on to the standard error report.
  store::ModifyLine(filetoedit_, linen_, Edit1->text());
  hide();
}

void TChangePA::openFor(const QString& filetoedit, int linen, const QString& description,
                        QWidget* home) {
  linen_ = linen;
  filetoedit_ = filetoedit;
  ui::centreOnceOn(this, home);
  ui::showFor(this, home);
  Edit1->setText(description);
  // Typing replaces the description; Enter writes it, Escape leaves it.
  Edit1->selectAll();
  Edit1->setFocus();
}
