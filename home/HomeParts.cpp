#include "home/HomeParts.h"

#include <QIcon>
#include <QPushButton>

#include "ui/build.h"
#include "ui/pictures.h"

namespace home {

QPixmap pictureOrNothing(const QString& name) {
  try {
    return ui::picture(name);
  } catch (const ui::PictureNotFound&) {
    return {};
  }
}

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
  const QPixmap picture = pictureOrNothing(glyph);
  if (!picture.isNull()) {
    b->setIcon(QIcon(picture));
    b->setIconSize(picture.size());
  }
  return b;
}

}  // namespace home
