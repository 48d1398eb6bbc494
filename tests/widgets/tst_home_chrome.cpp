// The home window's own frame: moving it by its strips and title, making it taller by its
// bottom strip, the corner labels' hover colours, minimising, the corner menu and closing.
#include <QAction>
#include <QMenu>
#include <QtTest>

#include "support/testmain.h"
#include "tst_home_support.h"
#include "ui/build.h"
#include "ui/look.h"

using home_testing::Home;

namespace {

// Sends a mouse event to `w` as if the pointer were at `global` on the screen.
void mouse(QWidget* w, QEvent::Type type, const QPoint& global,
           Qt::MouseButton button = Qt::LeftButton) {
  const QPointF local = w->mapFromGlobal(QPointF(global));
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
  QMouseEvent ev(type, local, local, QPointF(global),
                 type == QEvent::MouseMove ? Qt::NoButton : button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &ev);
}

}  // namespace

class HomeChromeTest : public QObject {
  Q_OBJECT

 private slots:
  void dragPiecesMoveTheWindow_data();
  void dragPiecesMoveTheWindow();
  void bottomStripSetsHeight_data();
  void bottomStripSetsHeight();
  void cornerLabelsShowHover_data();
  void cornerLabelsShowHover();
  void minimiseActsOnTheWholeProgram();
  void menuOpensAtThePointer();
  void closingEndsTheProgramWhateverIsOpen();
};

void HomeChromeTest::dragPiecesMoveTheWindow_data() {
  QTest::addColumn<QString>("piece");
  QTest::addColumn<QPoint>("at");
  QTest::addColumn<int>("button");
  QTest::newRow("title strip") << "border" << QPoint(100, 10) << int(Qt::LeftButton);
  QTest::newRow("title text") << "Application_Title" << QPoint(5, 5) << int(Qt::LeftButton);
  QTest::newRow("left strip") << "borderL" << QPoint(1, 200) << int(Qt::LeftButton);
  QTest::newRow("right strip") << "borderR" << QPoint(1, 300) << int(Qt::LeftButton);
  QTest::newRow("right button") << "border" << QPoint(60, 12) << int(Qt::RightButton);
}

void HomeChromeTest::dragPiecesMoveTheWindow() {
  QFETCH(QString, piece);
  QFETCH(QPoint, at);
  QFETCH(int, button);
  Home h;
  h.form.move(200, 100);
  QWidget* w = h.form.findChild<QWidget*>(piece);
  QVERIFY(w);
  const auto b = Qt::MouseButton(button);
  const QPoint start = w->mapToGlobal(at);
  mouse(w, QEvent::MouseButtonPress, start, b);
  QCOMPARE(h.platform.moves, 1);  // the system move was asked for first
  mouse(w, QEvent::MouseMove, start + QPoint(40, 30), b);
  QCOMPARE(h.form.pos(), QPoint(240, 130));
  mouse(w, QEvent::MouseMove, start + QPoint(-70, 5), b);
  QCOMPARE(h.form.pos(), QPoint(130, 105));
  mouse(w, QEvent::MouseButtonRelease, start + QPoint(-70, 5), b);
  // Released: the pointer no longer carries the window.
  mouse(w, QEvent::MouseMove, start + QPoint(300, 300), b);
  QCOMPARE(h.form.pos(), QPoint(130, 105));
  QCOMPARE(h.form.size(), QSize(550, 645));
}

void HomeChromeTest::bottomStripSetsHeight_data() {
  QTest::addColumn<QList<int>>("moves");
  QTest::addColumn<int>("height");
  // The new height starts from the strip's top, 3 pixels above the bottom edge.
  QTest::newRow("down 50") << QList<int>{50} << 692;
  QTest::newRow("down in steps") << QList<int>{10, 80, 120} << 762;
  QTest::newRow("up stops at 645") << QList<int>{-100} << 645;
  QTest::newRow("down then back up past the start") << QList<int>{200, -40} << 645;
  QTest::newRow("down 3 only makes up for the offset") << QList<int>{3} << 645;
}

void HomeChromeTest::bottomStripSetsHeight() {
  QFETCH(QList<int>, moves);
  QFETCH(int, height);
  Home h;
  QWidget* strip = h.form.findChild<QWidget*>("borderB");
  QCOMPARE(strip->cursor().shape(), Qt::SizeVerCursor);
  const QPoint start = strip->mapToGlobal(QPoint(300, 1));
  mouse(strip, QEvent::MouseButtonPress, start);
  for (int dy : moves) mouse(strip, QEvent::MouseMove, start + QPoint(0, dy));
  mouse(strip, QEvent::MouseButtonRelease, start + QPoint(0, moves.last()));
  QCOMPARE(h.form.height(), height);
  QCOMPARE(h.form.width(), 550);
  QCOMPARE(strip->y(), height - 3);
  QCOMPARE(h.form.findChild<QWidget*>("borderL")->height(), height - 15);
  QCOMPARE(h.form.findChild<QWidget*>("borderR")->height(), height - 15);
  // After the release, moving the pointer changes nothing.
  mouse(strip, QEvent::MouseMove, start + QPoint(0, 400));
  QCOMPARE(h.form.height(), height);
  QCOMPARE(h.platform.moves, 0);
}

void HomeChromeTest::cornerLabelsShowHover_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QColor>("back");
  QTest::newRow("close") << "winbt_Close" << ui::rgb::Red;
  QTest::newRow("minimise") << "winbt_minimise" << ui::rgb::MinimiseHover;
}

void HomeChromeTest::cornerLabelsShowHover() {
  QFETCH(QString, name);
  QFETCH(QColor, back);
  Home h;
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  QLabel* l = h.label(name);
  QVERIFY(!l->autoFillBackground());
  QCOMPARE(ui::textColor(l), ui::sys::ActiveBorder);
  QTest::mouseMove(&h.form, l->geometry().center());
  QTRY_VERIFY(l->autoFillBackground());
  QCOMPARE(l->palette().color(QPalette::Window), back);
  QCOMPARE(ui::textColor(l), ui::rgb::White);
  QCOMPARE(l->grab().toImage().pixelColor(1, 1), back);
  QTest::mouseMove(&h.form, QPoint(300, 300));
  QTRY_VERIFY(!l->autoFillBackground());
  QCOMPARE(ui::textColor(l), ui::sys::ActiveBorder);

  // Hidden while hovered (the pointer never left), it shows plain the next time.
  QTest::mouseMove(&h.form, l->geometry().center());
  QTRY_VERIFY(l->autoFillBackground());
  h.form.hide();
  h.form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  QVERIFY(!l->autoFillBackground());
  QCOMPARE(ui::textColor(l), ui::sys::ActiveBorder);
}

void HomeChromeTest::minimiseActsOnTheWholeProgram() {
  Home h;
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  QLabel* minimise = h.label("winbt_minimise");
  QCOMPARE(minimise->text(), QStringLiteral("_"));
  QTest::mouseClick(minimise, Qt::LeftButton, {}, QPoint(10, 12));
  QCOMPARE(h.platform.minimised, 1);
  auto* menu = h.form.findChild<QMenu*>("MenuCL");
  QVERIFY(menu);
  QStringList items;
  for (QAction* a : menu->actions()) items << (a->isSeparator() ? "-" : a->text());
  QCOMPARE(items, (QStringList{"Minimise", "-", "Close"}));
  menu->findChild<QAction*>("Minimise1")->trigger();
  QCOMPARE(h.platform.minimised, 2);
  QVERIFY(h.form.isVisible());
}

void HomeChromeTest::menuOpensAtThePointer() {
  Home h;
  h.form.move(123, 77);
  QWidget* corner = h.form.findChild<QWidget*>("CloseMN");
  QTest::mousePress(corner, Qt::RightButton, {}, QPoint(5, 7));
  QCOMPARE(h.platform.menus, 1);
  QCOMPARE(h.platform.menuAt, QPoint(128, 84));
  QTest::mouseRelease(corner, Qt::RightButton, {}, QPoint(5, 7));
  QTest::mousePress(corner, Qt::LeftButton, {}, QPoint(20, 24));
  QCOMPARE(h.platform.menus, 2);
  QCOMPARE(h.platform.menuAt, QPoint(143, 101));
  QCOMPARE(h.platform.moves, 0);  // the corner opens the menu, it does not move the window
}

void HomeChromeTest::closingEndsTheProgramWhateverIsOpen() {
  // Another window stays open; closing the home window still ends the event loop.
  Home h;
  QWidget other;
  other.show();
  QVERIFY(QTest::qWaitForWindowExposed(&h.form));
  QTimer::singleShot(0, &h.form, [&] {
    QLabel* x = h.label("winbt_Close");
    QTest::mouseClick(x, Qt::LeftButton, {}, x->rect().center());
  });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // not ended: fail, not hang
  QCOMPARE(QCoreApplication::exec(), 0);
  QVERIFY(!h.form.isVisible());
  QVERIFY(other.isVisible());
}

QUILL_TEST_MAIN(HomeChromeTest)
#include "tst_home_chrome.moc"
