#include "dialogs/ChangePgDes_u.h"

#include "dialogs/DialogParts.h"
#include "store/linefile.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/platform.h"

TChangePA::TChangePA(QWidget* parent) : QWidget(parent) {
  dialogs::setUpWindow(this, QStringLiteral("Change Page Description"), QSize(315, 164));
  Image1 = dialogs::makeImageShownLater(this, QStringLiteral("Image1"), QRect(0, 0, 321, 169),
                                        ui::Fit::Stretch, QStringLiteral("dialog_bg"));
  // The title text sits at a fixed place and does not move the window; the background does.
  ui::ChromeLayout frame = dialogs::dialogChrome(QStringLiteral("Edit Page Description"));
  frame.titleName = QStringLiteral("Label1");
  frame.rightName = QStringLiteral("Label2");
  frame.bottomName = QStringLiteral("Label3");
  frame.borderRect = QRect(-6, 1, 319, 25);
  frame.titleDrags = false;
  chrome = new ui::Chrome(this, frame);
  Label1 = chrome->title;
  Label1->move(84, 4);
  chrome->addDragPiece(Image1);
  Label4 = ui::makeLabel(
      this, {QStringLiteral("Label4"), QRect(0, 48, 313, 16),
             QStringLiteral("Write a helpfull description"), ui::font(ui::Face::Tahoma, 13),
             ui::sys::Light3D, Qt::AlignHCenter | Qt::AlignTop});
  Button1 = dialogs::makeDefaultButton(this, QStringLiteral("Button1"), QRect(120, 131, 75, 25),
                                       QStringLiteral("OK"));
  Edit1 = dialogs::makeGreyEdit(this, QStringLiteral("Edit1"), QRect(24, 96, 265, 21),
                                QStringLiteral("Type Here"));
  // A failed write goes to the standard error report from here: an error must not unwind
  // through the toolkit's click handling, which leaks the event and skips its clean-up.
  connect(Button1, &QPushButton::clicked, this,
          [this] { ui::runReported([this] { Button1Click(); }); });
}

void TChangePA::Button1Click() {
  // A failure leaves the dialog open and goes on to the standard error report.
  store::ModifyLine(filetoedit, linen, Edit1->text());
  hide();
}

void TChangePA::showCentredOn(const QWidget* home) {
  if (!placed_ && home) {
    placed_ = true;
    move(dialogs::centredOnPos(this, home));
  }
  show();
  raise();
  activateWindow();
}

void TChangePA::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    move(dialogs::screenCentredPos(this));
  }
  QWidget::showEvent(event);
}
