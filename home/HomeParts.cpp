#include "home/HomeParts.h"

#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "ui/build.h"
#include "ui/pictures.h"

namespace home {

void setFontColour(QWidget* w, const QColor& c) {
  if (ui::textColor(w) != c) ui::setTextColor(w, c);
}

QPushButton* makeGlyphButton(QWidget* parent, const QString& name, const QRect& rect,
                             const QString& glyph, const QString& hint) {
  auto* b = new QPushButton(parent);
  b->setObjectName(name);
  b->setGeometry(rect);
  b->setFlat(true);
  b->setFocusPolicy(Qt::NoFocus);
  b->setToolTip(hint);
  const QPixmap picture = ui::pictureOrNothing(glyph);
  if (!picture.isNull()) {
    b->setIcon(QIcon(picture));
    b->setIconSize(picture.size());
  }
  return b;
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
