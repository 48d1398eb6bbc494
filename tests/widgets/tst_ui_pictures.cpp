// The embedded pictures: every picture the windows ask for is present under the name they
// use, in any letter case, at its designed size; the selection and theme marks show what the
// windows rely on (a ring is hollow, a dot is solid, wallpapers are opaque).
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QtTest>
#include <memory>

#include "support/testmain.h"
#include "ui/build.h"
#include "ui/pictures.h"

namespace {

// The largest difference of one colour channel between two images of the same size.
int largestDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return 256;
  int worst = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                        std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  }
  return worst;
}

}  // namespace

class PicturesTest : public QObject {
  Q_OBJECT

 private slots:
  void designedPictures_data();
  void designedPictures();
  void marks_data();
  void marks();
  void unknownNameIsAnError();
  void readyScaledMatchDesigned();
  void shownAtAnySize_data();
  void shownAtAnySize();
  void heldOnceWhileShown();
};

void PicturesTest::designedPictures_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("opaque");
  const struct {
    const char* name;
    int w, h;
    bool opaque;
  } rows[] = {
      {"crc_0", 50, 50, false},           {"crc_1", 50, 50, false},
      {"crc_bl", 500, 500, false},        {"theme_dark", 200, 200, false},
      {"theme_light", 200, 200, false},   {"wlp_dark", 500, 800, true},
      {"wlp_light", 500, 800, true},      {"dialog_bg", 800, 600, true},
      {"pages_icon", 50, 50, false},      {"search_icon", 500, 500, false},
      {"exit_icon", 500, 500, false},     {"selector_card", 430, 450, false},
      {"success_icon", 500, 500, false},  {"info_icon", 500, 500, false},
      {"warning_icon", 500, 500, false},  {"about_icon", 256, 256, false},
      {"about_round", 1000, 1000, false}, {"logo_delphi", 80, 84, false},
      {"logo_cplus", 80, 84, false},      {"logo_gm2", 80, 84, false},
      {"logo_python", 80, 84, false},     {"logo_js", 80, 84, false},
      {"logo_chash", 80, 84, false},      {"logo_java", 80, 84, false},
      {"logo_css", 80, 84, false},        {"logo_html", 80, 84, false},
      {"glyph_search", 20, 20, false},    {"glyph_back", 20, 20, false},
      {"glyph_restore", 20, 20, false},   {"glyph_save", 15, 15, false},
      {"find_magnifier", 20, 20, false},  {"app_icon", 256, 256, false},
  };
  for (const auto& r : rows)
    QTest::newRow(r.name) << QString(r.name) << QSize(r.w, r.h) << r.opaque;
}

void PicturesTest::designedPictures() {
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QFETCH(bool, opaque);
  for (const QString& asked : {name, name.toUpper()}) {
    const QPixmap pm = ui::picture(asked);
    QCOMPARE(pm.size(), size);
  }
  const QImage img = ui::picture(name).toImage();
  if (opaque) {
    QVERIFY(!img.hasAlphaChannel());
  } else {
    // pictures drawn over other controls leave their corners see-through
    QVERIFY(img.hasAlphaChannel());
    QCOMPARE(qAlpha(img.pixel(0, 0)), 0);
  }
}

// Pixels the windows depend on: the colour at a point, compared to within a small tolerance
// so that antialiasing and gradients do not matter.
void PicturesTest::marks_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QPoint>("at");
  QTest::addColumn<QColor>("colour");  // alpha 0: transparent, colour ignored
  QTest::newRow("ring is hollow") << "crc_0" << QPoint(25, 25) << QColor(0, 0, 0, 0);
  QTest::newRow("ring line is white") << "crc_0" << QPoint(25, 2) << QColor(Qt::white);
  QTest::newRow("dot is solid white") << "crc_1" << QPoint(25, 25) << QColor(Qt::white);
  QTest::newRow("dot edge is white") << "crc_1" << QPoint(25, 3) << QColor(Qt::white);
  QTest::newRow("circle is blue") << "crc_bl" << QPoint(250, 60) << QColor("#0077FF");
  QTest::newRow("circle rim") << "crc_bl" << QPoint(250, 496) << QColor("#2133FF");
  QTest::newRow("sun centre") << "theme_dark" << QPoint(100, 100) << QColor("#E2E2E2");
  QTest::newRow("moon body") << "theme_light" << QPoint(40, 120) << QColor("#2B2B2B");
  QTest::newRow("dark wallpaper top") << "wlp_dark" << QPoint(250, 70) << QColor("#00137F");
  QTest::newRow("dark wallpaper bottom") << "wlp_dark" << QPoint(250, 700) << QColor("#0050FF");
  QTest::newRow("light wallpaper top") << "wlp_light" << QPoint(250, 0) << QColor("#0021E0");
  QTest::newRow("light wallpaper bottom") << "wlp_light" << QPoint(250, 799) << QColor("#A8B2F2");
  QTest::newRow("dialog centre") << "dialog_bg" << QPoint(400, 300) << QColor("#00E1FF");
  QTest::newRow("dialog corner") << "dialog_bg" << QPoint(0, 0) << QColor("#003FFF");
  QTest::newRow("card") << "selector_card" << QPoint(215, 225) << QColor(255, 255, 255, 201);
}

void PicturesTest::marks() {
  QFETCH(QString, name);
  QFETCH(QPoint, at);
  QFETCH(QColor, colour);
  const QColor got = ui::picture(name).toImage().pixelColor(at);
  if (colour.alpha() == 0) {
    QCOMPARE(got.alpha(), 0);
    return;
  }
  const auto near = [](int a, int b) { return std::abs(a - b) <= 12; };
  QVERIFY2(near(got.red(), colour.red()) && near(got.green(), colour.green()) &&
               near(got.blue(), colour.blue()) && near(got.alpha(), colour.alpha()),
           qPrintable(QString("%1 at (%2,%3) is %4 alpha %5, expected %6 alpha %7")
                          .arg(name)
                          .arg(at.x())
                          .arg(at.y())
                          .arg(got.name())
                          .arg(got.alpha())
                          .arg(colour.name())
                          .arg(colour.alpha())));
}

void PicturesTest::unknownNameIsAnError() {
  QVERIFY_THROWS_EXCEPTION(ui::PictureNotFound, ui::picture("theme_sepia"));
}

// Every ready-scaled picture shows what scaling its designed picture gives, so a redrawn
// picture cannot leave an old one on screen. PNG keeps colours without their alpha
// premultiplied, so half-transparent edges may differ by a step or two.
void PicturesTest::readyScaledMatchDesigned() {
  QDirIterator it(":/pictures/shown", {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
  int checked = 0;
  while (it.hasNext()) {
    const QString path = it.next();
    const QString name = QFileInfo(path).completeBaseName();
    const QStringList wh = QFileInfo(path).dir().dirName().split('x');
    QCOMPARE(wh.size(), 2);
    const QSize size(wh[0].toInt(), wh[1].toInt());
    QCOMPARE(ui::shownPicturePath(name, size), path);
    // A picture one pixel wide stands for one whose every row is one colour.
    const QImage stored = QImage(path);
    QVERIFY(stored.width() == size.width() || stored.width() == 1);
    QCOMPARE(stored.height(), size.height());
    const QImage ready = stored.scaled(size).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage scaled = ui::scaledForShow(ui::picture(name).toImage(), size)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int worst = largestDifference(ready, scaled);
    QVERIFY2(worst <= 2, qPrintable(QString("%1 differs by %2").arg(path).arg(worst)));
    ++checked;
  }
  QVERIFY(checked > 0);
}

// A picture asked for at a size and shown by a stretched control of that size: the
// ready-scaled picture where there is one, else the designed picture scaled here; either way
// the control shows the designed picture scaled to its size.
void PicturesTest::shownAtAnySize_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("ready");
  QTest::newRow("ready-scaled circle") << "CRC_BL" << QSize(34, 34) << true;
  QTest::newRow("ready-scaled wallpaper") << "wlp_dark" << QSize(556, 645) << true;
  QTest::newRow("ready-scaled editor wallpaper") << "wlp_light" << QSize(558, 256) << true;
  QTest::newRow("ready-scaled logo") << "logo_cplus" << QSize(20, 21) << true;
  QTest::newRow("circle at another size") << "crc_bl" << QSize(40, 17) << false;
  QTest::newRow("wallpaper of a taller window") << "wlp_light" << QSize(556, 700) << false;
}

void PicturesTest::shownAtAnySize() {
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QFETCH(bool, ready);
  QCOMPARE(QFile::exists(ui::shownPicturePath(name, size)), ready);
  const std::unique_ptr<QLabel> control(ui::makeImage(nullptr, "image", QRect(QPoint(), size),
                                                      ui::Fit::Stretch, ui::picture(name, size)));
  QImage shown(size, QImage::Format_ARGB32_Premultiplied);
  shown.fill(Qt::transparent);
  control->render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
  const QImage expected = ui::scaledForShow(ui::picture(name).toImage(), size)
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
  QVERIFY2(largestDifference(shown, expected) <= 2, qPrintable(name));
  QVERIFY_THROWS_EXCEPTION(ui::PictureNotFound, ui::picture("theme_sepia", size));
}

// Windows showing the same picture share one copy of it; once none holds it, it is let go and
// the next window decodes it again.
void PicturesTest::heldOnceWhileShown() {
  const QSize size(556, 645);
  QPixmap shown = ui::picture("wlp_dark", size);
  const qint64 copy = shown.cacheKey();
  QCOMPARE(ui::picture("WLP_DARK", size).cacheKey(), copy);
  QCOMPARE(ui::pictureOrNothing("wlp_dark", size).cacheKey(), copy);
  shown = QPixmap();
  QVERIFY(ui::picture("wlp_dark", size).cacheKey() != copy);
}

QUILL_TEST_MAIN(PicturesTest)
#include "tst_ui_pictures.moc"
