// The home window's two looks, "dark" and "light". The current look is recorded only in the
// font colours of the quick-action panel (read by the toggle) and of the footer (read by
// editors when they open); the theme file keeps it between runs.
#include "home/HomeParts.h"
#include "home/Quillnote_u.h"
#include "store/datatree.h"
#include "store/theme.h"
#include "ui/build.h"
#include "ui/look.h"
#include "ui/pictures.h"

namespace {

// Loads a wallpaper; a missing picture leaves the current one.
void loadWallpaper(QLabel* background, const QString& name) {
  try {
    ui::setImage(background, ui::picture(name, background->size()));
  } catch (const ui::PictureNotFound&) {
  }
}

}  // namespace

void TQuillnoteForm::SetProgramTheme(const QString& theme) {
  if (theme == QStringLiteral("light")) {
    home::setFontColour(QuickActionsMenu, ui::rgb::Black);
    loadWallpaper(BackGround, QStringLiteral("wlp_light"));
    home::setFontColour(copyright, ui::rgb::Black);
  }
  if (theme == QStringLiteral("dark")) {
    home::setFontColour(QuickActionsMenu, ui::rgb::White);
    loadWallpaper(BackGround, QStringLiteral("wlp_dark"));
    home::setFontColour(copyright, ui::rgb::White);
  }
  // Whatever the text, it is what the theme file holds from now on; applying the saved theme
  // at start-up writes nothing.
  store::writeTheme(store::themePath(), theme);
  // The theme button shows the look's picture; a text without one keeps the picture shown.
  try {
    ui::setImage(Option1Image, ui::picture(QStringLiteral("theme_") + theme, Option1Image->size()));
  } catch (const ui::PictureNotFound&) {
  }
  PageSelect->update();
  SearchPanel->update();
}

TQuillnoteForm::Look TQuillnoteForm::look() const {
  return {ui::textColor(QuickActionsMenu) == ui::rgb::White,
          ui::textColor(copyright) == ui::rgb::White};
}

void TQuillnoteForm::toggleTheme() {
  if (look().dark)
    SetProgramTheme(QStringLiteral("light"));
  else
    SetProgramTheme(QStringLiteral("dark"));
}

void TQuillnoteForm::TIMERDELAYEDTimer() {
  SetProgramTheme(store::readTheme(store::themePath()));
  TIMERDELAYED->stop();
}
