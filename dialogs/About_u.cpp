#include "dialogs/About_u.h"

#include "dialogs/DialogParts.h"
#include "quillnote_version.h"
#include "ui/look.h"
#include "ui/windows.h"

namespace {

using Row = dialogs::ControlRow;
using ui::Fit;
constexpr const QColor& kWhite = ui::rgb::White;

constexpr Row kControls[] = {
    Row::picture("BackGround", {0, 8, 412, 273}, "dialog_bg"),
    Row::frame(),
    Row::label("appname", {58, 51, 129, 39}, "Quillnote", 21, kWhite),
    Row::picture("icon", {21, 54, 31, 36}, "about_icon", Fit::Proportional),
    Row::picture("Image1", {21, 117, 61, 65}, "about_round", Fit::Proportional),
    Row::label("Label1", {58, 73, 87, 17}, QUILLNOTE_VERSION, 11, kWhite),
    Row::label("Label2", {88, 124, 281, 21}, "Made by the Quillnote developers", 19, kWhite),
    Row::label("Label3", {88, 151, 273, 21}, "Free to use. Keep learning!", 16, kWhite),
    Row::defaultButton("Button1", {162, 231, 75, 25}, "Return"),
};

}  // namespace

TAboutApp::TAboutApp(QWidget* parent) : QWidget(parent) {
  ui::ChromeLayout frame = dialogs::dialogChrome(QStringLiteral("About Quillnote"));
  frame.borderRect = QRect(-6, 0, 418, 25);
  dialogs::build(this, QStringLiteral("About Quillnote"), QSize(412, 281), kControls, frame);
  connect(dialogs::control<QPushButton>(this, "Button1"), &QPushButton::clicked, this,
          &QWidget::close);
  ui::centreOnFirstShow(this);
}

void TAboutApp::ShowAbout(QWidget* opener) {
  ui::showFor(this, opener);
}
