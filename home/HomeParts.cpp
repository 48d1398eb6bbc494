#include "home/HomeParts.h"

#include <QLabel>
#include <QPainter>

#include "ui/build.h"

namespace home {

void setFontColour(QWidget* w, const QColor& c) {
  if (ui::textColor(w) != c) ui::setTextColor(w, c);
}

WallpaperPanel::WallpaperPanel(QWidget* parent, const QLabel* wallpaper)
    : QWidget(parent), wallpaper_(wallpaper) {}

void WallpaperPanel::paintEvent(QPaintEvent*) {
  const QPixmap picture = wallpaper_->pixmap();
  if (picture.isNull() || wallpaper_->width() <= 0 || wallpaper_->height() <= 0) return;
  // The wallpaper is stretched over its control: take the same stretch for this part of it.
  const QRectF under(mapTo(wallpaper_->parentWidget(), QPoint(0, 0)) - wallpaper_->pos(), size());
  const qreal sx = qreal(picture.width()) / wallpaper_->width();
  const qreal sy = qreal(picture.height()) / wallpaper_->height();
  const QRectF source(under.x() * sx, under.y() * sy, under.width() * sx, under.height() * sy);
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawPixmap(QRectF(rect()), picture, source);
}

}  // namespace home
