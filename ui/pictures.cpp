#include "ui/pictures.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

#include "ui/application.h"

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

// Makes a picture once for all the windows that show it at the same time.
QPixmap shared(const QString& key, const std::function<QPixmap()>& make) {
  if (auto* app = dynamic_cast<Application*>(QCoreApplication::instance()))
    return app->sharedPicture(key, make);
  return make();
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
  return shared(name.toLower(), [&] { return QPixmap::fromImage(decode(path, name)); });
}

QImage shownImage(const QString& name, const QSize& pixels) {
  const QString path = designedPath(name);
  if (!QFile::exists(path)) throw PictureNotFound(name);
  if (pixels.isEmpty()) return decode(path, name);
  const QString ready = shownPicturePath(name, pixels);
  return QFile::exists(ready) ? decode(ready, name) : scaledForShow(decode(path, name), pixels);
}

QPixmap picture(const QString& name, const QSize& size) {
  if (size.isEmpty()) return picture(name);
  // A picture control scales to device pixels; the picture is made for those.
  const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
  const QSize pixels = (QSizeF(size) * ratio).toSize();
  const QString key =
      QStringLiteral("%1@%2x%3").arg(name.toLower()).arg(pixels.width()).arg(pixels.height());
  return shared(key, [&] {
    QImage image;
    if (auto* app = dynamic_cast<Application*>(QCoreApplication::instance()))
      image = app->takePictureAhead(name, pixels);
    if (image.isNull()) image = shownImage(name, pixels);
    QPixmap pm = QPixmap::fromImage(std::move(image));
    pm.setDevicePixelRatio(ratio);
    return pm;
  });
}

QPixmap pictureOrNothing(const QString& name, const QSize& size) {
  try {
    return picture(name, size);
  } catch (const PictureNotFound&) {
    return QPixmap();
  }
}

}  // namespace ui
