#include "ui/pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

namespace ui {

namespace {

// Decodes the resource at `path` into a picture of its own. The picture cache of QPixmap is
// left out on purpose: it would keep every picture ever shown (both wallpapers after a theme
// switch) in memory for as long as the program runs.
QImage decode(const QString& path, const QString& name) {
  QImageReader reader(path);
  QImage image = reader.read();
  if (image.isNull()) throw PictureNotFound(name);
  return image;
}

QString designedPath(const QString& name) {
  // Pictures are stored under their lower-case names.
  return QStringLiteral(":/pictures/") + name.toLower() + QStringLiteral(".png");
}

}  // namespace

PictureNotFound::PictureNotFound(const QString& name)
    : std::runtime_error(QStringLiteral("Resource %1 not found").arg(name).toStdString()) {}

QString shownPicturePath(const QString& name, const QSize& size) {
  return QStringLiteral(":/pictures/shown/%1x%2/%3.png")
      .arg(size.width())
      .arg(size.height())
      .arg(name.toLower());
}

QPixmap picture(const QString& name) {
  const QString path = designedPath(name);
  if (!QFile::exists(path)) throw PictureNotFound(name);
  return QPixmap::fromImage(decode(path, name));
}

QPixmap picture(const QString& name, const QSize& size) {
  const QString path = designedPath(name);
  if (!QFile::exists(path) || size.isEmpty()) return picture(name);
  // A picture control scales to device pixels; the picture is made for those.
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  const QSize pixels = (QSizeF(size) * ratio).toSize();
  const QString ready = shownPicturePath(name, pixels);
  QPixmap pm = QPixmap::fromImage(QFile::exists(ready) ? decode(ready, name)
                                                       : scaledForShow(decode(path, name), pixels));
  pm.setDevicePixelRatio(ratio);
  return pm;
}

}  // namespace ui
