#include "dialogs/About_u.h"

#include "dialogs/DialogParts.h"
#include "ui/build.h"
#include "ui/look.h"

TAboutApp::TAboutApp(QWidget* parent) : QWidget(parent) {
  using ui::Fit;
  dialogs::setUpWindow(this, QStringLiteral("About Quillnote"), QSize(412, 281));
  const QColor white = ui::rgb::White;
  BackGround =
      dialogs::makeImageShownLater(this, QStringLiteral("BackGround"), QRect(0, 8, 412, 273),
                                   Fit::Stretch, QStringLiteral("dialog_bg"));
  ui::ChromeLayout frame = dialogs::dialogChrome(QStringLiteral("About Quillnote"));
  frame.borderRect = QRect(-6, 0, 418, 25);
  chrome = new ui::Chrome(this, frame);
  appname =
      ui::makeLabel(this, {QStringLiteral("appname"), QRect(58, 51, 129, 39),
                           QStringLiteral("Quillnote"), ui::font(ui::Face::Tahoma, 21), white});
  icon = dialogs::makeImageShownLater(this, QStringLiteral("icon"), QRect(21, 54, 31, 36),
                                      Fit::Proportional, QStringLiteral("about_icon"));
  Image1 = dialogs::makeImageShownLater(this, QStringLiteral("Image1"), QRect(21, 117, 61, 65),
                                        Fit::Proportional, QStringLiteral("about_round"));
  Label1 = ui::makeLabel(this, {QStringLiteral("Label1"), QRect(58, 73, 87, 17),
                                QStringLiteral("1.0"), ui::font(ui::Face::Tahoma, 11), white});
  Label2 = ui::makeLabel(this, {QStringLiteral("Label2"), QRect(88, 124, 281, 21),
                                QStringLiteral("Made by the Quillnote developers"),
                                ui::font(ui::Face::Tahoma, 19), white});
  Label3 = ui::makeLabel(
      this, {QStringLiteral("Label3"), QRect(88, 151, 273, 21),
             QStringLiteral("Free to use. Keep learning!"), ui::font(ui::Face::Tahoma, 16), white});
  Button1 = dialogs::makeDefaultButton(this, QStringLiteral("Button1"), QRect(162, 231, 75, 25),
                                       QStringLiteral("Return"));
  connect(Button1, &QPushButton::clicked, this, &QWidget::close);
}

void TAboutApp::ShowAbout() {
  show();
  raise();
  activateWindow();
}

void TAboutApp::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    move(dialogs::screenCentredPos(this));
  }
  QWidget::showEvent(event);
}
