// The desktop's own modal boxes as the program shows them (the real platform, not a test's):
// each is answered with the keyboard (Enter, Escape, the underlined letters) and belongs to
// the window it is shown over; and where windows are put on the screen.
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <functional>

#include "support/testmain.h"
#include "ui/platform.h"
#include "ui/windows.h"

namespace {

// What happened to the modal box shown while `show` ran.
struct Driven {
  QWidget* parent = nullptr;        // the box's parent window
  QWindow* transientFor = nullptr;  // whom the desktop keeps it with
  bool answered = false;            // the key closed it
};

// Runs `show`, which shows a modal box, and presses `key` on the box once it is up.
Driven drive(const std::function<void()>& show, Qt::Key key, Qt::KeyboardModifiers modifiers) {
  Driven d;
  QPointer<QWidget> box;
  // A key that does not answer leaves the box open: it is closed here instead of hanging the
  // test, and counts as not answered.
  QTimer unanswered;
  unanswered.setSingleShot(true);
  QObject::connect(&unanswered, &QTimer::timeout, [&] {
    if (!box || !box->isVisible()) return;
    d.answered = false;
    static_cast<QDialog*>(box.data())->done(-1);
  });
  QTimer::singleShot(0, [&] {
    box = QApplication::activeModalWidget();
    if (!box) return;
    d.parent = box->parentWidget();
    d.transientFor = box->windowHandle()->transientParent();
    d.answered = true;
    QTest::keyClick(box->windowHandle(), key, modifiers);
    unanswered.start(5000);
  });
  show();
  return d;
}

}  // namespace

class PlatformTest : public QObject {
  Q_OBJECT

 private slots:
  void confirmAnsweredByKeys_data();
  void confirmAnsweredByKeys();
  void noticesClosedByKeys_data();
  void noticesClosedByKeys();
  void windowsOpenInsideTheAvailableArea();
};

void PlatformTest::confirmAnsweredByKeys_data() {
  QTest::addColumn<bool>("withCancel");
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<int>("answer");
  const int none = Qt::NoModifier;
  const int yes = int(ui::Answer::Yes), no = int(ui::Answer::No);
  const int cancel = int(ui::Answer::Cancel);
  QTest::newRow("Enter: the default Yes") << true << int(Qt::Key_Return) << none << yes;
  QTest::newRow("Escape: Cancel") << true << int(Qt::Key_Escape) << none << cancel;
  QTest::newRow("Escape without Cancel: No") << false << int(Qt::Key_Escape) << none << no;
  QTest::newRow("Y") << true << int(Qt::Key_Y) << none << yes;
  QTest::newRow("N") << true << int(Qt::Key_N) << none << no;
  QTest::newRow("N without Cancel") << false << int(Qt::Key_N) << none << no;
  QTest::newRow("Alt+N") << true << int(Qt::Key_N) << int(Qt::AltModifier) << no;
}

void PlatformTest::confirmAnsweredByKeys() {
  QFETCH(bool, withCancel);
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QFETCH(int, answer);
  QWidget window;
  window.show();
  ui::Answer given = ui::Answer::Cancel;
  const Driven d =
      drive([&] { given = ui::platform().confirm(&window, QStringLiteral("Sure?"), withCancel); },
            Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QVERIFY(d.answered);
  QCOMPARE(int(given), answer);
  QCOMPARE(d.parent, &window);
  QCOMPARE(d.transientFor, window.windowHandle());
}

void PlatformTest::noticesClosedByKeys_data() {
  QTest::addColumn<bool>("errorReport");  // or the plain message box
  QTest::addColumn<int>("key");
  QTest::newRow("error report, Enter") << true << int(Qt::Key_Return);
  QTest::newRow("error report, Escape") << true << int(Qt::Key_Escape);
  QTest::newRow("message box, Enter") << false << int(Qt::Key_Enter);
  QTest::newRow("message box, Escape") << false << int(Qt::Key_Escape);
}

void PlatformTest::noticesClosedByKeys() {
  QFETCH(bool, errorReport);
  QFETCH(int, key);
  QWidget window;
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  const Driven d = drive(
      [&] {
        if (errorReport)
          ui::platform().errorReport(QStringLiteral("Disk full."));
        else
          ui::platform().messageBox(&window, QStringLiteral("Error. (302)"));
      },
      Qt::Key(key), Qt::NoModifier);
  QVERIFY(d.answered);
  // The error report goes over the window the user works in.
  QCOMPARE(d.parent, &window);
  QCOMPARE(d.transientFor, window.windowHandle());
}

void PlatformTest::windowsOpenInsideTheAvailableArea() {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  struct Case {
    QSize size;
    QPoint wanted;
    QPoint placed;
  };
  const Case cases[] = {
      // Where it fits, it stays.
      {QSize(100, 80), area.topLeft() + QPoint(10, 20), area.topLeft() + QPoint(10, 20)},
      // Out past the right and bottom edges: moved back just enough.
      {QSize(100, 80), area.bottomRight(), area.bottomRight() - QPoint(99, 79)},
      // Out past the left and top edges.
      {QSize(100, 80), area.topLeft() - QPoint(30, 40), area.topLeft()},
      // Taller than the area: at its top, the title strip reachable.
      {QSize(100, area.height() + 50), area.topLeft() + QPoint(10, 20),
       area.topLeft() + QPoint(10, 0)},
      // Wider and taller: at its top-left corner.
      {area.size() + QSize(1, 1), area.center(), area.topLeft()},
  };
  for (const Case& c : cases) {
    QWidget window;
    window.resize(c.size);
    QCOMPARE(ui::insideScreen(&window, c.wanted), c.placed);
  }
  // Centring: in the available area; a window too big for it at its top-left corner.
  QWidget small;
  small.resize(301, 201);
  QCOMPARE(ui::screenCentredPos(&small), area.topLeft() + QPoint(int(area.width() / 2.0 - 150.5),
                                                                 int(area.height() / 2.0 - 100.5)));
  for (const QSize& tooBig : {area.size() + QSize(200, 100), QSize(300, area.height() + 1),
                              QSize(area.width() + 1, 200)}) {
    QWidget big;
    big.resize(tooBig);
    QCOMPARE(ui::screenCentredPos(&big), area.topLeft());
  }
}

QUILL_TEST_MAIN(PlatformTest)
#include "tst_ui_platform.moc"
