#include "ui/look.h"

#include <QFontDatabase>
#include <QResource>

namespace ui {

namespace {
// Bundled faces: a geometric sans for the two Nexa cuts, and a Tahoma-metric sans that
// also stands in for Segoe UI. Calibri maps to its metric twin when installed.
const char* const kBundled[] = {":/fonts/Manrope-Light.ttf", ":/fonts/Manrope-Bold.ttf",
                                ":/fonts/WineTahoma.ttf", ":/fonts/WineTahoma-Bold.ttf"};
}  // namespace

void installFonts() {
  static bool done = false;
  if (done) return;
  done = true;
  for (const char* path : kBundled) {
    // A font stored uncompressed is registered where it lies in the program, not copied.
    const QResource font(QString::fromLatin1(path));
    if (!font.isValid()) continue;
    const QByteArray data =
        font.compressionAlgorithm() == QResource::NoCompression
            ? QByteArray::fromRawData(reinterpret_cast<const char*>(font.data()), font.size())
            : font.uncompressedData();
    QFontDatabase::addApplicationFontFromData(data);
  }
  QFont::insertSubstitutions(QStringLiteral("Segoe UI"), {QStringLiteral("Tahoma")});
  QFont::insertSubstitutions(QStringLiteral("Calibri"),
                             {QStringLiteral("Carlito"), QStringLiteral("Tahoma")});
  QFont::insertSubstitutions(QStringLiteral("Nexa Light"), {QStringLiteral("Manrope")});
  QFont::insertSubstitutions(QStringLiteral("Nexa Bold"), {QStringLiteral("Manrope")});
}

QFont font(Face face, int px, bool bold) {
  QFont f;
  switch (face) {
    case Face::NexaLight:
      f.setFamily(QStringLiteral("Manrope"));
      f.setWeight(QFont::Light);
      break;
    case Face::NexaBold:
      f.setFamily(QStringLiteral("Manrope"));
      f.setWeight(QFont::Bold);
      break;
    case Face::Tahoma:
      f.setFamily(QStringLiteral("Tahoma"));
      break;
    case Face::SegoeUI:
      f.setFamily(QStringLiteral("Segoe UI"));
      break;
    case Face::Calibri:
      f.setFamily(QStringLiteral("Calibri"));
      break;
  }
  if (bold) f.setWeight(QFont::Bold);
  f.setPixelSize(px);
  return f;
}

}  // namespace ui
