// The about window: its static texts and places, one window however often it is asked
// for, centred on the screen the first time, and hidden again by "Return" or the "x".
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "dialogs/About_u.h"
#include "quillnote_version.h"
#include "support/fakeplatform.h"
#include "support/testmain.h"

class AboutTest : public QObject {
  Q_OBJECT

 private slots:
  void designedControls_data();
  void designedControls();
  void repeatedShowKeepsOneWindow();
  void closes_data();
  void closes();
};

void AboutTest::designedControls_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QRect>("rect");
  QTest::addColumn<QString>("text");
  QTest::addColumn<int>("pixelSize");
  QTest::newRow("background") << "BackGround" << QRect(0, 8, 412, 273) << "" << 0;
  QTest::newRow("strip") << "border" << QRect(-6, 0, 418, 25) << "" << 0;
  QTest::newRow("name") << "appname" << QRect(58, 51, 129, 39) << "Quillnote" << 21;
  QTest::newRow("version") << "Label1" << QRect(58, 73, 87, 17) << QUILLNOTE_VERSION << 11;
  QTest::newRow("icon") << "icon" << QRect(21, 54, 31, 36) << "" << 0;
  QTest::newRow("round picture") << "Image1" << QRect(21, 117, 61, 65) << "" << 0;
  QTest::newRow("credit") << "Label2" << QRect(88, 124, 281, 21) << "" << 19;
  QTest::newRow("notice") << "Label3" << QRect(88, 151, 273, 21) << "" << 16;
  QTest::newRow("return") << "Button1" << QRect(162, 231, 75, 25) << "Return" << 0;
}

void AboutTest::designedControls() {
  QFETCH(QString, control);
  QFETCH(QRect, rect);
  QFETCH(QString, text);
  QFETCH(int, pixelSize);
  testing_support::FakePlatform platform;
  TAboutApp about;
  QVERIFY(!about.isVisible());
  QCOMPARE(about.size(), QSize(412, 281));
  QCOMPARE(about.windowTitle(), QStringLiteral("About Quillnote"));
  QCOMPARE(about.findChild<QLabel*>("title")->text(), QStringLiteral("About Quillnote"));
  QWidget* w = about.findChild<QWidget*>(control);
  QVERIFY2(w, qPrintable(control));
  QCOMPARE(w->geometry(), rect);
  if (!text.isEmpty()) {
    auto* label = qobject_cast<QLabel*>(w);
    auto* button = qobject_cast<QPushButton*>(w);
    QCOMPARE(label ? label->text() : button->text(), text);
  }
  if (pixelSize) {
    QCOMPARE(w->font().pixelSize(), pixelSize);
    QCOMPARE(w->palette().color(QPalette::WindowText), QColor(Qt::white));
    QVERIFY(!qobject_cast<QLabel*>(w)->text().isEmpty());
  }
}

void AboutTest::repeatedShowKeepsOneWindow() {
  testing_support::FakePlatform platform;
  TAboutApp about;
  about.ShowAbout();
  about.ShowAbout();
  int visible = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    visible += qobject_cast<TAboutApp*>(w) && w->isVisible();
  }
  QCOMPARE(visible, 1);
  QVERIFY(about.isVisible());
  QVERIFY(!about.isModal());
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  const QPoint centred = screen.topLeft() + QPoint(int(screen.width() / 2.0 - 206.0),
                                                   int(screen.height() / 2.0 - 140.5));
  QCOMPARE(about.pos(), centred);
  // Moved by the user, hidden and asked for again: it reopens where it was left.
  about.move(12, 34);
  about.hide();
  about.ShowAbout();
  QCOMPARE(about.pos(), QPoint(12, 34));
}

void AboutTest::closes_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("Return button") << "button";
  QTest::newRow("x") << "x";
  QTest::newRow("Enter key") << "enter";
}

void AboutTest::closes() {
  QFETCH(QString, how);
  testing_support::FakePlatform platform;
  TAboutApp about;
  about.ShowAbout();
  QVERIFY(QTest::qWaitForWindowExposed(&about));
  if (how == "button") QTest::mouseClick(about.findChild<QPushButton*>("Button1"), Qt::LeftButton);
  if (how == "x") QTest::mouseClick(about.findChild<QLabel*>("winbt_Close"), Qt::LeftButton);
  if (how == "enter") QTest::keyClick(about.findChild<QLabel*>("appname"), Qt::Key_Return);
  QVERIFY(!about.isVisible());
  about.ShowAbout();
  QVERIFY(about.isVisible());
}

QUILL_TEST_MAIN(AboutTest)
#include "tst_dialogs_about.moc"
