#include "ui/pictures.h"

#include <QFile>

namespace ui {

PictureNotFound::PictureNotFound(const QString& name)
    : std::runtime_error(QStringLiteral("Resource %1 not found").arg(name).toStdString()) {}

QPixmap picture(const QString& name) {
  // Pictures are stored under their lower-case names.
  const QString path = QStringLiteral(":/pictures/") + name.toLower() + QStringLiteral(".png");
  QPixmap pm;
  if (!QFile::exists(path) || !pm.load(path)) throw PictureNotFound(name);
  return pm;
}

}  // namespace ui
