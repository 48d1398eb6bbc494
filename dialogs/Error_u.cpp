#include "dialogs/Error_u.h"

#include "dialogs/DialogParts.h"
#include "ui/look.h"
#include "ui/windows.h"

namespace {

using Row = dialogs::ControlRow;
constexpr QRect kIcon(9, 45, 45, 45);

constexpr Row kControls[] = {
    Row::picture("BackGround", {0, 8, 321, 161}, "dialog_bg"),
    Row::frame(),
    Row::label("errortext", {72, 48, 241, 20}, "Oh No! An Error has Occured", 15, ui::sys::Light3D),
    Row::picture("image_error", kIcon, "exit_icon", ui::Fit::Proportional).hidden().named("Error"),
    Row::label("errortext2", {72, 75, 243, 20}, "", 15, ui::sys::Light3D),
    Row::picture("image_info", kIcon, "info_icon", ui::Fit::Proportional)
        .hidden()
        .named("Information"),
    Row::picture("image_warning", kIcon, "warning_icon", ui::Fit::Proportional)
        .hidden()
        .named("Warning"),
    Row::picture("image_sucess", kIcon, "success_icon", ui::Fit::Proportional)
        .hidden()
        .named("Success"),
    Row::defaultButton("e_Button", {117, 109, 75, 25}, "OK"),
};

}  // namespace

TErrorFrame::TErrorFrame(QWidget* parent) : QWidget(parent) {
  dialogs::build(this, QStringLiteral("Error Handler"), QSize(316, 153), kControls,
                 dialogs::dialogChrome(QStringLiteral("Hey!")));
  errortext = dialogs::control<QLabel>(this, "errortext");
  image_error = dialogs::control<QLabel>(this, "image_error");
  errortext2 = dialogs::control<QLabel>(this, "errortext2");
  image_info = dialogs::control<QLabel>(this, "image_info");
  image_warning = dialogs::control<QLabel>(this, "image_warning");
  image_sucess = dialogs::control<QLabel>(this, "image_sucess");
  e_Button = dialogs::control<QPushButton>(this, "e_Button");
  connect(e_Button, &QPushButton::clicked, this, &QWidget::close);
}

void TErrorFrame::StartHandle(const QString& mode, const QString& Text, const QString& Text2,
                              const QString& BtLabel) {
  move(ui::screenCentredPos(this));
  for (QLabel* icon : {image_error, image_info, image_warning, image_sucess}) icon->hide();
  // Each keyword is compared exactly, letter case included; at most one matches.
  if (mode == QLatin1String("error")) image_error->show();
  if (mode == QLatin1String("sucess")) image_sucess->show();
  if (mode == QLatin1String("information")) image_info->show();
  if (mode == QLatin1String("warning")) image_warning->show();
  errortext->setText(Text);
  errortext2->setText(Text2);
  e_Button->setText(BtLabel);
  ui::showFor(this, opener_);
}

void TErrorFrame::setOpener(QWidget* opener) {
  opener_ = opener;
}
