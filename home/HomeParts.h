// Small pieces shared by the home window's source files.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QWidget>

class QLabel;

namespace home {

// The size of the quick actions' pictures.
constexpr QSize kQuickActionSize(30, 30);

// Sets a control's text colour only when it differs, so a repeated setting repaints nothing.
void setFontColour(QWidget* w, const QColor& c);

// A panel that shows, as its background, the part of the window's wallpaper behind it, so
// it covers the labels and pictures under it while the window's look carries on.
class WallpaperPanel : public QWidget {
 public:
  WallpaperPanel(QWidget* parent, const QLabel* wallpaper);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QLabel* wallpaper_;
};

// The mark drawn around the control that has the keyboard focus: a ring in the colour of a
// found topic edged in the strips' dark colour, round around round controls, around the
// text of a label. It lies over every other control and lets the mouse through.
class FocusMark : public QWidget {
 public:
  explicit FocusMark(QWidget* window);

  // Puts the mark around `control` (a descendant of the window), or hides it (null).
  void follow(const QWidget* control);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  bool round_ = false;
};

}  // namespace home
