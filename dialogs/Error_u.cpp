#include "dialogs/Error_u.h"

#include "dialogs/DialogParts.h"
#include "ui/build.h"
#include "ui/look.h"

TErrorFrame::TErrorFrame(QWidget* parent) : QWidget(parent) {
  using ui::Fit;
  dialogs::setUpWindow(this, QStringLiteral("Error Handler"), QSize(316, 153));
  const QFont textFont = ui::font(ui::Face::Tahoma, 15);
  const QRect iconRect(9, 45, 45, 45);

  BackGround =
      dialogs::makeImageShownLater(this, QStringLiteral("BackGround"), QRect(0, 8, 321, 161),
                                   Fit::Stretch, QStringLiteral("dialog_bg"));
  chrome = new ui::Chrome(this, dialogs::dialogChrome(QStringLiteral("Hey!")));
  errortext = ui::makeLabel(
      this, {QStringLiteral("errortext"), QRect(72, 48, 241, 20),
             QStringLiteral("Oh No! An Error has Occured"), textFont, ui::sys::Light3D});
  image_error = dialogs::makeImageShownLater(this, QStringLiteral("image_error"), iconRect,
                                             Fit::Proportional, QStringLiteral("exit_icon"));
  errortext2 = ui::makeLabel(this, {QStringLiteral("errortext2"), QRect(72, 75, 243, 20), QString(),
                                    textFont, ui::sys::Light3D});
  image_info = dialogs::makeImageShownLater(this, QStringLiteral("image_info"), iconRect,
                                            Fit::Proportional, QStringLiteral("info_icon"));
  image_warning = dialogs::makeImageShownLater(this, QStringLiteral("image_warning"), iconRect,
                                               Fit::Proportional, QStringLiteral("warning_icon"));
  image_sucess = dialogs::makeImageShownLater(this, QStringLiteral("image_sucess"), iconRect,
                                              Fit::Proportional, QStringLiteral("success_icon"));
  for (QLabel* icon : {image_error, image_info, image_warning, image_sucess}) icon->hide();
  e_Button = dialogs::makeDefaultButton(this, QStringLiteral("e_Button"), QRect(117, 109, 75, 25),
                                        QStringLiteral("OK"));
  connect(e_Button, &QPushButton::clicked, this, &QWidget::close);
}

void TErrorFrame::StartHandle(const QString& mode, const QString& Text, const QString& Text2,
                              const QString& BtLabel) {
  move(dialogs::screenCentredPos(this));
  for (QLabel* icon : {image_error, image_info, image_warning, image_sucess}) icon->hide();
  // Each keyword is compared exactly, letter case included; at most one matches.
  if (mode == QLatin1String("error")) image_error->show();
  if (mode == QLatin1String("sucess")) image_sucess->show();
  if (mode == QLatin1String("information")) image_info->show();
  if (mode == QLatin1String("warning")) image_warning->show();
  errortext->setText(Text);
  errortext2->setText(Text2);
  e_Button->setText(BtLabel);
  show();
  raise();
  activateWindow();
}
