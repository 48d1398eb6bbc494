// The pictures embedded in the program, found by name.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <stdexcept>

namespace ui {

class PictureNotFound : public std::runtime_error {
 public:
  explicit PictureNotFound(const QString& name);
};

// Decodes the embedded picture called `name` at its designed size; letter case does not
// matter ("CRC_1", "crc_1"). Throws PictureNotFound for a name that does not exist.
QPixmap picture(const QString& name);

// The picture called `name` as a stretched picture control of `size` shows it. Pictures that
// a window shows at a fixed size are also embedded ready-scaled to that size, so showing them
// decodes a picture of that size instead of a large one; for any other size the designed
// picture is decoded and scaled here. A ready-scaled picture whose every row is one colour is
// one pixel wide, which the control widens as it draws. Throws PictureNotFound as
// picture(name) does.
QPixmap picture(const QString& name, const QSize& size);

// How a stretched picture control scales its picture to `size`: smoothly, ignoring the
// picture's proportions, with the colours premultiplied by their alpha. The ready-scaled
// pictures are made with this too, so both ways show the same pixels.
inline QImage scaledForShow(const QImage& designed, const QSize& size) {
  const QImage::Format format =
      designed.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
  return designed.convertToFormat(format).scaled(size, Qt::IgnoreAspectRatio,
                                                 Qt::SmoothTransformation);
}

// The picture `name` as a stretched control shows it at `pixels` device pixels, decoded into
// an image; safe on any thread. Throws PictureNotFound as picture(name) does.
QImage shownImage(const QString& name, const QSize& pixels);

// picture(name, size), or an empty picture while `name` is not in the program: a missing
// picture leaves its control blank instead of stopping the window's creation. An empty
// `size` gives the designed size.
QPixmap pictureOrNothing(const QString& name, const QSize& size = QSize());

// Where the picture `name` ready-scaled to `size` is embedded, when it is.
QString shownPicturePath(const QString& name, const QSize& size);

}  // namespace ui
