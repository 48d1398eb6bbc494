// The quick actions at the bottom of the home window (exit, theme, search), its function
// keys, and the wallpaper that follows the window's height.
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QResizeEvent>

#include "dialogs/About_u.h"
#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "home/HomeParts.h"
#include "home/Quillnote_u.h"

#include "ui/build.h"
#include "ui/pictures.h"
#include "ui/platform.h"

namespace {

struct QuickAction {
  QLabel* TQuillnoteForm::*image;
  QLabel* TQuillnoteForm::*text;
  const char* imageName;
  const char* textName;
  int left;
  const char* picture;
  const char* caption;
  const char* hint;
  void (TQuillnoteForm::*click)();
};

}  // namespace

void TQuillnoteForm::createQuickActions() {
  using F = TQuillnoteForm;
  // In creation order; on screen, left to right: Exit, Theme, Search.
  static constexpr QuickAction kQuickActions[] = {
      {&F::Option1Image, &F::Option1Text, "Option1Image", "Option1Text", 200, "theme_dark", "Theme",
       "Switch Themes (F4)", &F::Option1ImageClick},
      {&F::Option2Image, &F::Option2Text, "Option2Image", "Option2Text", 236, "search_icon",
       "Search", "Search Topics (F3)", &F::Option2ImageClick},
      {&F::Option3Image, &F::Option3Text, "Option3Image", "Option3Text", 164, "exit_icon", "Exit",
       "Exit Program (ALT+F4)", &F::Option3ImageClick},
  };
  for (const QuickAction& a : kQuickActions) {
    const QRect rect(QPoint(a.left, 4), home::kQuickActionSize);
    QLabel* image =
        ui::makeImage(QuickActionsMenu, QString::fromLatin1(a.imageName), rect, ui::Fit::Stretch,
                      ui::pictureOrNothing(QString::fromLatin1(a.picture), rect.size()));
    image->setToolTip(QString::fromLatin1(a.hint));
    ui::onClick(image, [this, click = a.click] { (this->*click)(); });

    // The caption takes the panel's font and font colour, which change with the theme.
    auto* text = new QLabel(QString::fromLatin1(a.caption), QuickActionsMenu);
    text->setObjectName(QString::fromLatin1(a.textName));
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Centred under its picture; a caption wider than the picture grows to both sides
    // rather than being cut off.
    const int width = std::max(30, QFontMetrics(text->font()).horizontalAdvance(text->text()));
    text->setGeometry(a.left + 15 - width / 2, 34, width, 13);
    this->*a.image = image;
    this->*a.text = text;
  }
}

void TQuillnoteForm::Option1ImageClick() {
  toggleTheme();
}

void TQuillnoteForm::Option2ImageClick() {
  openSearchBar();
}

void TQuillnoteForm::Option3ImageClick() {
  close();
}

void TQuillnoteForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  switch (key) {
    case Qt::Key_F1:
      if (dialogs_) dialogs_->AboutApp->ShowAbout(this);
      break;
    case Qt::Key_F3:
      if (SearchPanel->isVisibleTo(this))
        hideSearchBar();
      else
        openSearchBar();
      break;
    case Qt::Key_F4:
      // Alt+F4 closes the window, as on any window; where no window manager takes the key
      // first, it arrives here and closes the window instead of switching the look.
      if (modifiers & Qt::AltModifier)
        close();
      else
        toggleTheme();
      break;
    case Qt::Key_F7:
      if (dialogs_) {
        dialogs_->ErrorFrame->setOpener(this);
        dialogs_->ErrorFrame->StartHandle(
            QString(), QStringLiteral("A Error has occured. Acess Denied"),
            QStringLiteral("Error Code: Not-a-Bug, A-Feature"), QStringLiteral("Sure!"));
      }
      break;
    default:
      break;
  }
}

void TQuillnoteForm::keyPressEvent(QKeyEvent* event) {
  // Keys no control used come here. While the search box has the focus, a key it does not
  // use is not a command (F3 while typing leaves the bar open); from any other control the
  // function keys work as on the window itself.
  if (focusWidget() == SearchBox) {
    QWidget::keyPressEvent(event);
    return;
  }
  ui::runReported([&] { FormKeyDown(event->key(), event->modifiers()); });
}

void TQuillnoteForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  BackGround->resize(BackGround->width(), height());
}
