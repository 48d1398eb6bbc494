// Draws every picture of the program with QPainter and writes them as PNG files.
//
//   drawpictures <resources-folder>
//
// writes <resources-folder>/pictures/<name>.png and <resources-folder>/icons/quillnote-*.png
// plus quillnote.svg. Everything is vector drawing with antialiasing; lettering is turned into
// outlines read straight from the DejaVu Sans Bold font file, so the output does not depend on
// font configuration or hinting.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QRawFont>
#include <QTextStream>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "ui/pictures.h"

namespace {

QString gResources;  // the resources folder given on the command line
QRawFont gBold;      // the bold face used for all lettering
int gWritten = 0;
bool gFailed = false;

constexpr double kPi = 3.14159265358979323846;

// ---------------------------------------------------------------------------------------------
// Canvas and output

QImage canvas(int w, int h, bool alpha = true) {
  QImage img(w, h, alpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
  img.fill(alpha ? Qt::transparent : Qt::black);
  return img;
}

void smooth(QPainter& p) {
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

bool writePng(const QImage& img, const QString& path) {
  // Straight (not premultiplied) alpha is what PNG stores; opaque pictures drop the alpha
  // channel entirely, which keeps the files smaller.
  const QImage out = img.hasAlphaChannel() ? img.convertToFormat(QImage::Format_ARGB32)
                                           : img.convertToFormat(QImage::Format_RGB32);
  // Quality 0 asks the PNG writer for its strongest compression.
  if (!out.save(path, "PNG", 0)) {
    std::fprintf(stderr, "drawpictures: cannot write %s\n", qPrintable(path));
    gFailed = true;
    return false;
  }
  ++gWritten;
  return true;
}

void savePicture(const QImage& img, const QString& name) {
  writePng(img, gResources + "/pictures/" + name + ".png");
}

// ---------------------------------------------------------------------------------------------
// Geometry helpers

QColor rgb(const char* hex, int alpha = 255) {
  QColor c(hex);
  c.setAlpha(alpha);
  return c;
}

QPainterPath circle(QPointF c, double r) {
  QPainterPath p;
  p.addEllipse(c, r, r);
  return p;
}

QPainterPath polygon(std::initializer_list<QPointF> pts) {
  QPainterPath p;
  p.addPolygon(QPolygonF(QList<QPointF>(pts)));
  p.closeSubpath();
  return p;
}

QPainterPath roundRect(QRectF r, double radius) {
  QPainterPath p;
  p.addRoundedRect(r, radius, radius);
  return p;
}

// The filled outline of a stroke, so strokes can be combined with other shapes and written
// to the SVG icon as plain filled paths.
QPainterPath strokeOf(const QPainterPath& line, double width, Qt::PenCapStyle cap = Qt::RoundCap,
                      Qt::PenJoinStyle join = Qt::RoundJoin) {
  QPainterPathStroker s;
  s.setWidth(width);
  s.setCapStyle(cap);
  s.setJoinStyle(join);
  return s.createStroke(line).simplified();
}

QPainterPath segment(QPointF a, QPointF b) {
  QPainterPath p(a);
  p.lineTo(b);
  return p;
}

// An arc of a circle as an open path; angles in degrees, counter-clockwise from 3 o'clock,
// as QPainterPath::arcTo counts them.
QPainterPath arc(QPointF c, double r, double startDeg, double sweepDeg) {
  const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  QPainterPath p;
  p.arcMoveTo(box, startDeg);
  p.arcTo(box, startDeg, sweepDeg);
  return p;
}

QPointF onCircle(QPointF c, double r, double deg) {
  const double a = deg * kPi / 180.0;
  return {c.x() + r * std::cos(a), c.y() - r * std::sin(a)};
}

// A filled arrow head whose tip is at `tip`, pointing along `dir` (any length).
QPainterPath arrowHead(QPointF tip, QPointF dir, double length, double halfWidth) {
  const double n = std::hypot(dir.x(), dir.y());
  const QPointF u(dir.x() / n, dir.y() / n);
  const QPointF side(-u.y(), u.x());
  const QPointF base = tip - u * length;
  return polygon({tip, base + side * halfWidth, base - side * halfWidth});
}

// Text as outlines of the bold face, scaled uniformly to fit `box` and centred in it. The
// glyphs come straight from the font file, so the shapes do not depend on the fonts
// installed on the machine or on hinting.
QPainterPath textOutline(const QString& text) {
  const QList<quint32> glyphs = gBold.glyphIndexesForString(text);
  const QList<QPointF> advances =
      gBold.advancesForGlyphIndexes(glyphs, QRawFont::KernedAdvances | QRawFont::UseDesignMetrics);
  QPainterPath out;
  out.setFillRule(Qt::WindingFill);
  QPointF pen(0, 0);
  for (int i = 0; i < glyphs.size(); ++i) {
    out.addPath(gBold.pathForGlyph(glyphs[i]).translated(pen));
    pen += advances[i];
  }
  return out;
}

QPainterPath lettering(const QString& text, QRectF box) {
  const QPainterPath raw = textOutline(text);
  const QRectF b = raw.boundingRect();
  const double s = std::min(box.width() / b.width(), box.height() / b.height());
  QTransform t;
  t.translate(box.center().x(), box.center().y());
  t.scale(s, s);
  t.translate(-b.center().x(), -b.center().y());
  return t.map(raw);
}

// Text with a fixed letter height (cap height of the bounding box), narrowed only when it
// would not fit the box's width. Keeps the letters of different badges the same size.
QPainterPath letteringHeight(const QString& text, QRectF box) {
  QPainterPath full = lettering(text, QRectF(0, 0, 1e6, box.height()));
  const QRectF b = full.boundingRect();
  QTransform t;
  const double sx = std::min(1.0, box.width() / b.width());
  t.translate(box.center().x(), box.center().y());
  t.scale(sx, 1.0);
  t.translate(-b.center().x(), -b.center().y());
  return t.map(full);
}

QLinearGradient vertical(double y0, double y1, QColor top, QColor bottom) {
  QLinearGradient g(0, y0, 0, y1);
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

void fill(QPainter& p, const QPainterPath& path, const QBrush& brush) {
  p.setPen(Qt::NoPen);
  p.setBrush(brush);
  p.drawPath(path);
}

void stroke(QPainter& p, const QPainterPath& path, const QColor& c, double width) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
}

// ---------------------------------------------------------------------------------------------
// Selection marks and theme pictures

void drawSelectionMarks() {
  {  // crc_0: white ring, outer diameter 48, line 4
    QImage img = canvas(50, 50);
    QPainter p(&img);
    smooth(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(3, 3, 44, 44));
    p.end();
    savePicture(img, "crc_0");
  }
  {  // crc_1: white disc, diameter 48
    QImage img = canvas(50, 50);
    QPainter p(&img);
    smooth(p);
    fill(p, circle({25, 25}, 24), Qt::white);
    p.end();
    savePicture(img, "crc_1");
  }
  {  // crc_bl: blue disc with a rim and a white bar across the middle
    QImage img = canvas(500, 500);
    QPainter p(&img);
    smooth(p);
    const QPointF c(250, 250);
    fill(p, circle(c, 248), rgb("#2133FF"));
    fill(p, circle(c, 232), vertical(18, 482, rgb("#0077FF"), rgb("#0311FF")));
    fill(p, roundRect(QRectF(100, 222, 300, 56), 28), Qt::white);
    p.end();
    savePicture(img, "crc_bl");
  }
}

void drawThemePictures() {
  {  // theme_dark: a light grey sun with eight rays
    QImage img = canvas(200, 200);
    QPainter p(&img);
    smooth(p);
    const QColor grey = rgb("#E2E2E2");
    const QPointF c(100, 100);
    fill(p, circle(c, 44), grey);
    for (int i = 0; i < 8; ++i) {
      const double deg = i * 45.0;
      stroke(p, segment(onCircle(c, 64, deg), onCircle(c, 88, deg)), grey, 16);
    }
    p.end();
    savePicture(img, "theme_dark");
  }
  {  // theme_light: a dark grey crescent moon
    QImage img = canvas(200, 200);
    QPainter p(&img);
    smooth(p);
    const QPainterPath moon = circle({96, 104}, 82).subtracted(circle({142, 64}, 70));
    fill(p, moon, rgb("#2B2B2B"));
    p.end();
    savePicture(img, "theme_light");
  }
}

// ---------------------------------------------------------------------------------------------
// Backgrounds

void drawBackgrounds() {
  {  // wlp_dark: navy on top, blending into bright blue
    QImage img = canvas(500, 800, false);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, 800);
    g.setColorAt(0.0, rgb("#00137F"));
    g.setColorAt(150.0 / 800, rgb("#00137F"));
    g.setColorAt(540.0 / 800, rgb("#0050FF"));
    g.setColorAt(1.0, rgb("#0050FF"));
    p.fillRect(img.rect(), g);
    p.end();
    savePicture(img, "wlp_dark");
  }
  {  // wlp_light: strong blue to pale periwinkle
    QImage img = canvas(500, 800, false);
    QPainter p(&img);
    p.fillRect(img.rect(), vertical(0, 800, rgb("#0021E0"), rgb("#A8B2F2")));
    p.end();
    savePicture(img, "wlp_light");
  }
  {  // dialog_bg: cyan in the middle, strong blue at the edges
    QImage img = canvas(800, 600, false);
    QPainter p(&img);
    QRadialGradient g(QPointF(400, 300), 500);
    g.setColorAt(0.0, rgb("#00E1FF"));
    g.setColorAt(0.08, rgb("#00E1FF"));
    g.setColorAt(1.0, rgb("#003FFF"));
    p.fillRect(img.rect(), g);
    p.end();
    savePicture(img, "dialog_bg");
  }
  {  // selector_card: white rounded card at about 79 % opacity
    QImage img = canvas(430, 450);
    QPainter p(&img);
    smooth(p);
    fill(p, roundRect(QRectF(0, 0, 430, 450), 22), QColor(255, 255, 255, 201));
    p.end();
    savePicture(img, "selector_card");
  }
}

// ---------------------------------------------------------------------------------------------
// Quick-action and message icons (500 x 500)

// A disc with a darker rim and a soft top highlight; the common ground of the round icons.
void roundIconBase(QPainter& p, const QColor& rim, const QColor& top, const QColor& bottom) {
  const QPointF c(250, 250);
  fill(p, circle(c, 246), rim);
  fill(p, circle(c, 222), vertical(28, 472, top, bottom));
  QLinearGradient shine(0, 28, 0, 260);
  shine.setColorAt(0, QColor(255, 255, 255, 70));
  shine.setColorAt(1, QColor(255, 255, 255, 0));
  fill(p, circle(c, 222), shine);
}

void drawIcons() {
  {  // pages_icon: white ring around two overlapping page outlines
    QImage img = canvas(50, 50);
    QPainter p(&img);
    smooth(p);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QRectF(3, 3, 44, 44));
    const QRectF back(14, 12, 15, 20);
    const QRectF front(21, 18, 15, 20);
    stroke(p, roundRect(back, 1.5), Qt::white, 3.5);
    // the front page hides the part of the back page it covers
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    fill(p, roundRect(front.adjusted(-1.5, -1.5, 1.5, 1.5), 2), Qt::black);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    stroke(p, roundRect(front, 1.5), Qt::white, 3.5);
    p.end();
    savePicture(img, "pages_icon");
  }
  {  // search_icon: dark grey magnifying glass with a half-transparent white lens
    QImage img = canvas(500, 500);
    QPainter p(&img);
    smooth(p);
    const QColor grey = rgb("#3C3C3C");
    const QPointF c(205, 205);
    stroke(p, segment({318, 318}, {440, 440}), grey, 78);
    fill(p, circle(c, 128), QColor(255, 255, 255, 128));
    // a small glint on the lens
    stroke(p, arc(c, 90, 110, 55), QColor(255, 255, 255, 200), 20);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(grey, 46));
    p.drawEllipse(c, 151, 151);
    p.end();
    savePicture(img, "search_icon");
  }
  {  // exit_icon: red disc, dark red rim, white X; also the error icon
    QImage img = canvas(500, 500);
    QPainter p(&img);
    smooth(p);
    roundIconBase(p, rgb("#8B1010"), rgb("#F2453D"), rgb("#C81E1E"));
    stroke(p, segment({160, 160}, {340, 340}), Qt::white, 56);
    stroke(p, segment({340, 160}, {160, 340}), Qt::white, 56);
    p.end();
    savePicture(img, "exit_icon");
  }
  {  // success_icon: green disc with a white check mark
    QImage img = canvas(500, 500);
    QPainter p(&img);
    smooth(p);
    roundIconBase(p, rgb("#17692A"), rgb("#3CC85A"), rgb("#1E9A3A"));
    QPainterPath tick(QPointF(142, 262));
    tick.lineTo(218, 338);
    tick.lineTo(362, 174);
    stroke(p, tick, Qt::white, 58);
    p.end();
    savePicture(img, "success_icon");
  }
  {  // info_icon: blue disc with a white letter i
    QImage img = canvas(500, 500);
    QPainter p(&img);
    smooth(p);
    roundIconBase(p, rgb("#0B3C99"), rgb("#3D8BFF"), rgb("#1556D6"));
    fill(p, circle({250, 148}, 36), Qt::white);
    fill(p, roundRect(QRectF(216, 214, 68, 170), 26), Qt::white);
    p.end();
    savePicture(img, "info_icon");
  }
  {  // warning_icon: yellow triangle, white border, white exclamation mark
    QImage img = canvas(500, 500);
    QPainter p(&img);
    smooth(p);
    p.translate(0, 11);  // centres the triangle's outline vertically
    const QPainterPath tri = polygon({{250, 50}, {462, 428}, {38, 428}});
    p.setPen(QPen(Qt::white, 44, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(tri);
    p.setPen(QPen(rgb("#F2A900"), 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(60, 420, rgb("#FFCC1A"), rgb("#F2A900")));
    p.drawPath(tri);
    // the mark: a tapering bar and a dot, with a faint shadow so it reads on yellow
    const QPainterPath bar = polygon({{222, 170}, {278, 170}, {264, 310}, {236, 310}});
    const QPainterPath mark = strokeOf(bar, 14).united(bar).united(circle({250, 362}, 30));
    fill(p, mark.translated(0, 6), QColor(120, 70, 0, 90));
    fill(p, mark, Qt::white);
    p.end();
    savePicture(img, "warning_icon");
  }
}

// ---------------------------------------------------------------------------------------------
// About pictures

// A feather lying along the x axis from its nib (0,0) to its tip (len,0).
QPainterPath featherVane(double len, double w) {
  QPainterPath vane(QPointF(0.2 * len, 0));
  vane.cubicTo(0.38 * len, -0.62 * w, 0.78 * len, -0.80 * w, len, 0);
  vane.cubicTo(0.80 * len, 0.46 * w, 0.46 * len, 0.42 * w, 0.2 * len, 0);
  vane.closeSubpath();
  // notches in the vane's edge
  QPainterPath cuts;
  for (double t : {0.50, 0.70}) {
    const double x = t * len;
    cuts.addPath(polygon({{x, -w}, {x + 0.02 * len, -w}, {x - 0.06 * len, -0.18 * w}}));
  }
  cuts.addPath(polygon({{0.6 * len, w}, {0.62 * len, w}, {0.54 * len, 0.14 * w}}));
  return vane.subtracted(cuts);
}

void drawAboutPictures() {
  {  // about_icon: a quill over a page
    QImage img = canvas(256, 256);
    QPainter p(&img);
    smooth(p);
    // the page, slightly turned
    p.save();
    p.translate(112, 140);
    p.rotate(-8);
    const QRectF page(-70, -96, 140, 192);
    fill(p, roundRect(page.translated(5, 7), 12), QColor(0, 20, 90, 70));
    fill(p, roundRect(page, 12), Qt::white);
    // a tinted heading band along the page's top edge
    QPainterPath band;
    band.addRect(QRectF(-70, -96, 140, 30));
    fill(p, band.intersected(roundRect(page, 12)), rgb("#D6E4FF"));
    for (int i = 0; i < 6; ++i) {
      const double y = -48 + i * 24;
      const double right = (i == 5) ? 10 : 48;
      stroke(p, segment({-48, y}, {right, y}), rgb("#7FA7F5"), 7);
    }
    p.restore();
    // the quill, nib down-left, tip up-right
    p.save();
    p.translate(92, 196);
    p.rotate(-52);
    const double len = 196;
    QLinearGradient g(0, 0, len, 0);
    g.setColorAt(0, rgb("#0039D6"));
    g.setColorAt(1, rgb("#2FB6FF"));
    fill(p, featherVane(len, 44).translated(3, 5), QColor(0, 20, 90, 60));
    fill(p, featherVane(len, 44), g);
    stroke(p, segment({0.16 * len, 0}, {0.95 * len, 0}), QColor(255, 255, 255, 210), 4);
    // the nib
    fill(p, polygon({{-6, 0}, {0.2 * len, -8}, {0.2 * len, 8}}), rgb("#0A1E66"));
    p.restore();
    // a stroke of ink under the nib
    QPainterPath ink(QPointF(66, 222));
    ink.cubicTo(80, 212, 88, 232, 104, 220);
    stroke(p, ink, rgb("#0A1E66"), 5);
    p.end();
    savePicture(img, "about_icon");
  }
  {  // about_round: a quill-tailed "Q" on a gradient disc, cropped round
    QImage img = canvas(1000, 1000);
    QPainter p(&img);
    smooth(p);
    const QPointF c(500, 500);
    const QPainterPath disc = circle(c, 500);
    QLinearGradient g(150, 80, 850, 920);
    g.setColorAt(0, rgb("#00137F"));
    g.setColorAt(0.55, rgb("#0050FF"));
    g.setColorAt(1, rgb("#00C8FF"));
    fill(p, disc, g);
    p.setClipPath(disc);
    // faint rings for texture
    for (int i = 0; i < 5; ++i) {
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(QColor(255, 255, 255, 18), 26));
      p.drawEllipse(QPointF(760, 240), 140.0 + i * 110, 140.0 + i * 110);
    }
    // the Q's bowl
    const QPointF qc(470, 460);
    const QPainterPath bowl = circle(qc, 272).subtracted(circle(qc, 180));
    const QColor shadow(0, 10, 60, 70);
    fill(p, bowl.translated(10, 14), shadow);
    fill(p, bowl, Qt::white);
    // its tail is a quill: nib at the lower right, vane reaching up-left across the bowl
    p.translate(862, 852);
    p.rotate(180 + 45);
    const double len = 470;
    QLinearGradient fg(0, 0, len, 0);
    fg.setColorAt(0, rgb("#BFEFFF"));
    fg.setColorAt(1, Qt::white);
    const QPainterPath vane = featherVane(len, 120);
    fill(p, vane.translated(-12, -10), shadow);
    fill(p, vane, fg);
    stroke(p, segment({0.17 * len, 0}, {0.96 * len, 0}), rgb("#0050FF", 170), 9);
    fill(p, polygon({{-22, 0}, {0.21 * len, -22}, {0.21 * len, 22}}), rgb("#0A1E66"));
    p.end();
    savePicture(img, "about_round");
  }
}

// ---------------------------------------------------------------------------------------------
// Language badges (80 x 84, shown at 20 x 21 over a blue circle)

constexpr double kBadgeW = 80, kBadgeH = 84;

// Draws a badge: a thin white rim around `shape`, the shape in `fillBrush`, then `letters`.
void badge(const QString& name, const QPainterPath& shape, const QBrush& fillBrush,
           const QPainterPath& letters, const QColor& letterColour,
           const std::function<void(QPainter&)>& extra = {}) {
  QImage img = canvas(int(kBadgeW), int(kBadgeH));
  QPainter p(&img);
  smooth(p);
  p.setPen(QPen(Qt::white, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(shape);
  p.setPen(Qt::NoPen);
  p.setBrush(fillBrush);
  p.drawPath(shape);
  if (extra) extra(p);
  fill(p, letters, letterColour);
  p.end();
  savePicture(img, name);
}

QPainterPath hexagon() {
  const QPointF c(kBadgeW / 2, kBadgeH / 2);
  const double r = 33;
  QPolygonF pts;
  for (int i = 0; i < 6; ++i) pts << onCircle(c, r, 90 + i * 60);
  QPainterPath p;
  p.addPolygon(pts);
  p.closeSubpath();
  // soften the corners
  return strokeOf(p, 6).united(p).simplified();
}

QPainterPath shield() {
  QPainterPath p(QPointF(9, 9));
  p.lineTo(71, 9);
  p.lineTo(65.5, 63);
  p.lineTo(40, 76);
  p.lineTo(14.5, 63);
  p.closeSubpath();
  return strokeOf(p, 4).united(p).simplified();
}

const QRectF kSquare(7, 9, 66, 66);

void drawLanguageBadges() {
  const QRectF letters(14, 22, 52, 40);  // room for the lettering inside the shapes
  badge("logo_delphi", roundRect(kSquare, 14), vertical(9, 75, rgb("#F0413A"), rgb("#B3121B")),
        letteringHeight("D", letters), Qt::white);
  badge("logo_cplus", hexagon(), vertical(5, 79, rgb("#3B86E0"), rgb("#004C9E")),
        lettering("C++", QRectF(15, 28, 50, 28)), Qt::white);
  badge("logo_gm2", roundRect(kSquare, 14), vertical(9, 75, rgb("#3A3F47"), rgb("#15171B")),
        lettering("GM", QRectF(13, 24, 54, 36)), Qt::white, [](QPainter& p) {
          // a green stripe under the letters sets it apart from a plain dark square
          fill(p, roundRect(QRectF(22, 62, 36, 5), 2.5), rgb("#7CDB3B"));
        });
  badge("logo_python", roundRect(kSquare, 14), rgb("#2F6DB0"),
        lettering("Py", QRectF(13, 20, 54, 44)), rgb("#FFD43B"), [](QPainter& p) {
          // the lower right corner in yellow, the two colours of the language
          QPainterPath corner = polygon({{73, 52}, {73, 75}, {50, 75}});
          fill(p, corner.intersected(roundRect(kSquare, 14)), rgb("#FFD43B"));
        });
  badge("logo_js", roundRect(kSquare, 8), rgb("#F7DF1E"), lettering("JS", QRectF(14, 24, 52, 40)),
        rgb("#1A1A1A"));
  badge("logo_chash", hexagon(), vertical(5, 79, rgb("#A45BD6"), rgb("#5B1F8C")),
        lettering("C#", QRectF(16, 25, 48, 34)), Qt::white);
  badge("logo_java", circle({40, 42}, 34), vertical(8, 76, rgb("#F5821F"), rgb("#D2391B")),
        letteringHeight("J", QRectF(18, 20, 44, 42)), Qt::white);
  badge("logo_css", shield(), vertical(7, 78, rgb("#2E7BE6"), rgb("#134FB0")),
        lettering("CSS", QRectF(14, 22, 52, 30)), Qt::white);
  badge("logo_html", shield(), vertical(7, 78, rgb("#F26A2E"), rgb("#D0431A")),
        letteringHeight("5", QRectF(20, 18, 40, 42)), Qt::white);
}

// ---------------------------------------------------------------------------------------------
// Button glyphs (20 x 20, the floppy 15 x 15)

void drawGlyphs() {
  const QColor blue = rgb("#1662E0");
  {  // glyph_search: magnifying glass with a light-blue lens
    QImage img = canvas(20, 20);
    QPainter p(&img);
    smooth(p);
    stroke(p, segment({12.6, 12.6}, {17.2, 17.2}), rgb("#2A2A2A"), 3.2);
    fill(p, circle({8.2, 8.2}, 5.2), rgb("#9ED4FF"));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(rgb("#2A2A2A"), 1.8));
    p.drawEllipse(QPointF(8.2, 8.2), 5.6, 5.6);
    p.end();
    savePicture(img, "glyph_search");
  }
  {  // glyph_back: curved arrow pointing left
    QImage img = canvas(20, 20);
    QPainter p(&img);
    smooth(p);
    QPainterPath path(QPointF(7, 7));
    path.lineTo(12, 7);
    path.arcTo(QRectF(7.5, 7, 9, 9), 90, -180);
    path.lineTo(8, 16);
    stroke(p, path, blue, 2.4);
    fill(p, arrowHead({1.5, 7}, {-1, 0}, 6, 4.2), blue);
    p.end();
    savePicture(img, "glyph_back");
  }
  {  // glyph_restore: circular arrow turning anticlockwise, head at the left
    QImage img = canvas(20, 20);
    QPainter p(&img);
    smooth(p);
    const QPointF c(10.8, 10.2);
    const double r = 6.4;
    const double from = 235, sweep = 270;  // degrees, anticlockwise on screen
    stroke(p, arc(c, r, from, sweep), blue, 2.4);
    const double a = (from + sweep) * kPi / 180.0;
    const QPointF base = onCircle(c, r, from + sweep);
    // direction of anticlockwise motion at the end of the arc (screen y points down)
    const QPointF dir(-std::sin(a), -std::cos(a));
    fill(p, arrowHead(base + dir * 4.6, dir, 6.2, 4.3), blue);
    p.end();
    savePicture(img, "glyph_restore");
  }
  {  // glyph_save: blue floppy disk, 15 x 15
    QImage img = canvas(15, 15);
    QPainter p(&img);
    smooth(p);
    QPainterPath body(QPointF(1, 2.5));
    body.quadTo(1, 1, 2.5, 1);
    body.lineTo(11.5, 1);
    body.lineTo(14, 3.5);
    body.lineTo(14, 12.5);
    body.quadTo(14, 14, 12.5, 14);
    body.lineTo(2.5, 14);
    body.quadTo(1, 14, 1, 12.5);
    body.closeSubpath();
    fill(p, body, blue);
    QPainterPath shutter;
    shutter.addRect(QRectF(4, 1, 6, 4.5));
    fill(p, shutter, rgb("#CFE0FF"));
    QPainterPath slot;
    slot.addRect(QRectF(7.5, 1.8, 1.5, 2.8));
    fill(p, slot, blue);
    fill(p, roundRect(QRectF(3.5, 8, 8, 5), 0.8), Qt::white);
    p.end();
    savePicture(img, "glyph_save");
  }
  {  // find_magnifier: black magnifier on a white disc
    QImage img = canvas(20, 20);
    QPainter p(&img);
    smooth(p);
    fill(p, circle({10, 10}, 9.6), Qt::white);
    stroke(p, segment({11.6, 11.6}, {14.8, 14.8}), Qt::black, 2.6);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1.7));
    p.drawEllipse(QPointF(8.6, 8.6), 3.9, 3.9);
    p.end();
    savePicture(img, "find_magnifier");
  }
}

// ---------------------------------------------------------------------------------------------
// Program icon: drawn as a list of filled shapes so the same design yields the PNG sizes and
// the SVG file.

struct Shape {
  QPainterPath path;
  QBrush brush;
};

// `small` leaves out the pale question mark and enlarges the rest, for the 16 and 32 pixel
// icons where the full picture turns to mush.
std::vector<Shape> programIcon(bool small = false) {
  std::vector<Shape> shapes;
  const QPointF c(128, 128);
  QLinearGradient g(36, 36, 220, 220);
  g.setColorAt(0, rgb("#061A6E"));
  g.setColorAt(1, rgb("#1F7BFF"));
  shapes.push_back({circle(c, 124), g});
  QRectF zero(56, 36, 48, 62), one(162, 150, 40, 62);
  QPointF from(104, 104), to(160, 160);
  double shaft = 16, headLength = 30, headHalf = 22;
  if (small) {
    zero = QRectF(40, 28, 68, 88);
    one = QRectF(150, 138, 58, 88);
    from = QPointF(108, 110);
    to = QPointF(156, 158);
    shaft = 26, headLength = 44, headHalf = 34;
  } else {
    // large pale question mark in the middle
    shapes.push_back({lettering("?", QRectF(82, 38, 96, 180)), rgb("#D6E6FF", 110)});
  }
  // white 0 at the top left, green arrow down-right to a white 1
  shapes.push_back({lettering("0", zero), Qt::white});
  const QPointF dir = to - from;
  QPainterPath arrow = strokeOf(segment(from, to - dir * 0.25), shaft, Qt::RoundCap);
  arrow = arrow.united(arrowHead(to, dir, headLength, headHalf)).simplified();
  shapes.push_back({arrow, rgb("#39D353")});
  shapes.push_back({lettering("1", one), Qt::white});
  return shapes;
}

QImage renderIcon(int size) {
  QImage img = canvas(size, size);
  QPainter p(&img);
  smooth(p);
  p.scale(size / 256.0, size / 256.0);
  for (const Shape& s : programIcon(size <= 32)) fill(p, s.path, s.brush);
  p.end();
  return img;
}

QString num(double v) {
  QString s = QString::number(v, 'f', 2);
  while (s.endsWith('0')) s.chop(1);
  if (s.endsWith('.')) s.chop(1);
  return s == "-0" ? "0" : s;
}

QString svgPathData(const QPainterPath& path) {
  QString d;
  for (int i = 0; i < path.elementCount(); ++i) {
    const QPainterPath::Element e = path.elementAt(i);
    if (e.isMoveTo()) {
      d += "M" + num(e.x) + " " + num(e.y);
    } else if (e.isLineTo()) {
      d += "L" + num(e.x) + " " + num(e.y);
    } else if (e.isCurveTo()) {
      const QPainterPath::Element c2 = path.elementAt(i + 1);
      const QPainterPath::Element end = path.elementAt(i + 2);
      d += "C" + num(e.x) + " " + num(e.y) + " " + num(c2.x) + " " + num(c2.y) + " " + num(end.x) +
           " " + num(end.y);
      i += 2;
    }
  }
  return d;
}

QString svgColour(const QColor& c) {
  return c.name(QColor::HexRgb).toUpper();
}

void writeIconSvg(const QString& path) {
  QString out;
  QTextStream s(&out);
  s << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
       "viewBox=\"0 0 256 256\">\n";
  QString defs;
  QString body;
  int gradients = 0;
  for (const Shape& shape : programIcon()) {
    QString paint;
    QString opacity;
    if (shape.brush.style() == Qt::LinearGradientPattern) {
      const auto* g = static_cast<const QLinearGradient*>(shape.brush.gradient());
      const QString id = QString("g%1").arg(++gradients);
      defs += "  <linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\"" +
              num(g->start().x()) + "\" y1=\"" + num(g->start().y()) + "\" x2=\"" +
              num(g->finalStop().x()) + "\" y2=\"" + num(g->finalStop().y()) + "\">\n";
      for (const auto& stop : g->stops())
        defs += "    <stop offset=\"" + num(stop.first) + "\" stop-color=\"" +
                svgColour(stop.second) + "\"/>\n";
      defs += "  </linearGradient>\n";
      paint = "url(#" + id + ")";
    } else {
      const QColor c = shape.brush.color();
      paint = svgColour(c);
      if (c.alpha() != 255) opacity = " fill-opacity=\"" + num(c.alphaF()) + "\"";
    }
    const char* rule = shape.path.fillRule() == Qt::WindingFill ? "nonzero" : "evenodd";
    body += "  <path fill=\"" + paint + "\"" + opacity + " fill-rule=\"" + rule + "\" d=\"" +
            svgPathData(shape.path) + "\"/>\n";
  }
  if (!defs.isEmpty()) s << "  <defs>\n" << defs << "  </defs>\n";
  s << body << "</svg>\n";
  s.flush();
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(out.toUtf8()) < 0) {
    std::fprintf(stderr, "drawpictures: cannot write %s\n", qPrintable(path));
    gFailed = true;
    return;
  }
  ++gWritten;
}

void drawProgramIcon() {
  savePicture(renderIcon(256), "app_icon");
  for (int size : {16, 32, 48, 64, 128, 256})
    writePng(renderIcon(size), gResources + QString("/icons/quillnote-%1.png").arg(size));
  writeIconSvg(gResources + "/icons/quillnote.svg");
}

// The pictures the windows show at a fixed size, ready-scaled to that size and written
// to pictures/shown/<width>x<height>/<name>.png. They are scaled from the designed files just
// written, the way a stretched picture control scales them, so the program shows the same
// pixels either way while decoding only small pictures at start-up. A scaled picture whose
// every row is one colour (the wallpapers' vertical gradients) is written one pixel wide: a
// stretched control widens it without changing a pixel, and it takes next to no memory.
void writeShownSizes() {
  const struct {
    const char* name;
    int w, h;
  } shown[] = {
      {"wlp_dark", 556, 645},  {"wlp_light", 556, 645},  {"crc_bl", 34, 34},
      {"crc_1", 34, 34},       {"crc_1", 22, 22},        {"crc_0", 22, 22},
      {"pages_icon", 22, 22},  {"theme_dark", 30, 30},   {"theme_light", 30, 30},
      {"search_icon", 30, 30}, {"exit_icon", 30, 30},    {"logo_chash", 20, 21},
      {"logo_js", 20, 21},     {"logo_python", 20, 21},  {"logo_gm2", 20, 21},
      {"logo_delphi", 20, 21}, {"logo_cplus", 20, 21},   {"logo_java", 20, 21},
      {"logo_css", 20, 21},    {"logo_html", 20, 21},    {"wlp_dark", 558, 256},
      {"wlp_light", 558, 256}, {"success_icon", 13, 13},
  };
  for (const auto& s : shown) {
    const QImage designed(gResources + "/pictures/" + s.name + ".png");
    const QString folder = gResources + QString("/pictures/shown/%1x%2").arg(s.w).arg(s.h);
    if (designed.isNull() || !QDir().mkpath(folder)) {
      std::fprintf(stderr, "drawpictures: cannot scale %s\n", s.name);
      gFailed = true;
      continue;
    }
    const QImage scaled = ui::scaledForShow(designed, QSize(s.w, s.h));
    bool rowsUniform = true;
    for (int y = 0; y < scaled.height() && rowsUniform; ++y) {
      for (int x = 1; x < scaled.width() && rowsUniform; ++x)
        rowsUniform = scaled.pixel(x, y) == scaled.pixel(0, y);
    }
    writePng(rowsUniform ? scaled.copy(0, 0, 1, scaled.height()) : scaled,
             folder + "/" + s.name + ".png");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: drawpictures <resources-folder>\n");
    return 2;
  }
  gResources = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
  // DejaVu Sans Bold (Debian package fonts-dejavu-core): heavy enough to stay legible when the
  // badges are shown at 20 pixels.
  const QString fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
  gBold = QRawFont(fontFile, 200, QFont::PreferNoHinting);
  if (!gBold.isValid()) {
    std::fprintf(stderr, "drawpictures: cannot load %s (install fonts-dejavu-core)\n",
                 qPrintable(fontFile));
    return 1;
  }
  if (!QDir().mkpath(gResources + "/pictures") || !QDir().mkpath(gResources + "/icons")) {
    std::fprintf(stderr, "drawpictures: cannot create the output folders\n");
    return 1;
  }

  drawSelectionMarks();
  drawThemePictures();
  drawBackgrounds();
  drawIcons();
  drawAboutPictures();
  drawLanguageBadges();
  drawGlyphs();
  drawProgramIcon();
  writeShownSizes();

  std::printf("drawpictures: wrote %d files under %s\n", gWritten, qPrintable(gResources));
  return gFailed ? 1 : 0;
}
