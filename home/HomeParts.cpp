#include "home/HomeParts.h"

#include <QLabel>
#include <QPainter>
#include <QStyle>

#include "ui/build.h"
#include "ui/look.h"

namespace home {

void setFontColour(QWidget* w, const QColor& c) {
  if (ui::textColor(w) != c) ui::setTextColor(w, c);
}

namespace {
// How far the ring reaches outside the control.
constexpr int kRing = 4;
}  // namespace

FocusMark::FocusMark(QWidget* window) : QWidget(window) {
  setObjectName(QStringLiteral("FocusMark"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setFocusPolicy(Qt::NoFocus);
  hide();
}

void FocusMark::follow(const QWidget* control) {
  if (!control) {
    hide();
    return;
  }
  QRect around = control->rect();
  // A line of text centred in a wide label: around the text only.
  const auto* label = qobject_cast<const QLabel*>(control);
  if (label && !label->text().isEmpty() && label->pixmap().isNull()) {
    const QSize text = label->fontMetrics().size(0, label->text()) + QSize(6, 0);
    around = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                 text.boundedTo(around.size()), around);
  }
  const QRect at(control->mapTo(parentWidget(), around.topLeft()), around.size());
  round_ = at.width() == at.height();
  setGeometry(at.adjusted(-kRing, -kRing, kRing, kRing));
  raise();
  show();
  update();
}

void FocusMark::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  // A 2-pixel line in the colour of a found topic between two 1-pixel dark ones, all outside
  // the control.
  const QRectF path = QRectF(rect()).adjusted(kRing / 2.0, kRing / 2.0, -kRing / 2.0, -kRing / 2.0);
  for (const auto& [colour, width] :
       {std::pair{ui::rgb::Strip, kRing}, std::pair{ui::rgb::Highlight, kRing - 2}}) {
    painter.setPen(QPen(colour, width));
    if (round_)
      painter.drawEllipse(path);
    else
      painter.drawRoundedRect(path, 3, 3);
  }
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
