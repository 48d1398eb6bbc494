// The message window: the icon chosen by the mode keyword, the two lines and the button
// caption, its place at the centre of the screen, and the ways it is closed.
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "dialogs/Error_u.h"
#include "support/fakeplatform.h"
#include "support/testmain.h"

namespace {

const char* const kIcons[] = {"image_error", "image_sucess", "image_info", "image_warning"};

// Where the message window belongs: the primary screen's centre, truncated toward zero.
QPoint centredFor(QSize outer) {
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  return screen.topLeft() + QPoint(int(std::trunc(screen.width() / 2.0 - outer.width() / 2.0)),
                                   int(std::trunc(screen.height() / 2.0 - outer.height() / 2.0)));
}

QString text(const TErrorFrame& f, const char* name) {
  return f.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

QPushButton* button(const TErrorFrame& f) {
  return f.findChild<QPushButton*>(QStringLiteral("e_Button"));
}

QString shownIcon(const TErrorFrame& f) {
  QStringList shown;
  for (const char* name : kIcons) {
    if (f.findChild<QLabel*>(name)->isVisible()) shown << QString::fromLatin1(name);
  }
  return shown.join(',');
}

}  // namespace

class MessageWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void startsHiddenWithDesignedControls_data();
  void startsHiddenWithDesignedControls();
  void modeChoosesIcon_data();
  void modeChoosesIcon();
  void secondNoticeReplacesFirstAndRecentres();
  void closes_data();
  void closes();
};

void MessageWindowTest::startsHiddenWithDesignedControls_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QRect>("rect");
  QTest::newRow("background") << "BackGround" << QRect(0, 8, 321, 161);
  QTest::newRow("first line") << "errortext" << QRect(72, 48, 241, 20);
  QTest::newRow("second line") << "errortext2" << QRect(72, 75, 243, 20);
  QTest::newRow("error icon") << "image_error" << QRect(9, 45, 45, 45);
  QTest::newRow("success icon") << "image_sucess" << QRect(9, 45, 45, 45);
  QTest::newRow("button") << "e_Button" << QRect(117, 109, 75, 25);
  QTest::newRow("close") << "winbt_Close" << QRect(296, 0, 20, 25);
  QTest::newRow("strip") << "border" << QRect(0, 0, 316, 25);
}

void MessageWindowTest::startsHiddenWithDesignedControls() {
  QFETCH(QString, control);
  QFETCH(QRect, rect);
  testing_support::FakePlatform platform;
  TErrorFrame f;
  QVERIFY(!f.isVisible());
  QCOMPARE(f.size(), QSize(316, 153));
  QVERIFY(f.windowFlags().testFlag(Qt::FramelessWindowHint));
  QCOMPARE(f.windowTitle(), QStringLiteral("Error Handler"));
  QWidget* w = f.findChild<QWidget*>(control);
  QVERIFY2(w, qPrintable(control));
  QCOMPARE(w->geometry(), rect);
  QCOMPARE(text(f, "errortext"), QStringLiteral("Oh No! An Error has Occured"));
  QCOMPARE(button(f)->text(), QStringLiteral("OK"));
  QCOMPARE(f.findChild<QLabel*>("title")->text(), QStringLiteral("Hey!"));
  QVERIFY(f.findChild<QLabel*>("title")->width() > 0);
}

void MessageWindowTest::modeChoosesIcon_data() {
  QTest::addColumn<QString>("mode");
  QTest::addColumn<QString>("icon");
  QTest::newRow("error") << "error"
                         << "image_error";
  QTest::newRow("sucess") << "sucess"
                          << "image_sucess";
  QTest::newRow("information") << "information"
                               << "image_info";
  QTest::newRow("warning") << "warning"
                           << "image_warning";
  QTest::newRow("capitalised") << "Error"
                               << "";
  QTest::newRow("correct spelling") << "success"
                                    << "";
  QTest::newRow("trailing space") << "warning "
                                  << "";
  QTest::newRow("empty") << ""
                         << "";
}

void MessageWindowTest::modeChoosesIcon() {
  QFETCH(QString, mode);
  QFETCH(QString, icon);
  testing_support::FakePlatform platform;
  TErrorFrame f;
  f.StartHandle(mode, QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("Fine"));
  QVERIFY(f.isVisible());
  QVERIFY(!f.isModal());
  QCOMPARE(shownIcon(f), icon);
  QCOMPARE(text(f, "errortext"), QStringLiteral("a"));
  QCOMPARE(text(f, "errortext2"), QStringLiteral("b"));
  QCOMPARE(button(f)->text(), QStringLiteral("Fine"));
  QCOMPARE(f.pos(), centredFor(f.frameGeometry().size()));
}

void MessageWindowTest::secondNoticeReplacesFirstAndRecentres() {
  testing_support::FakePlatform platform;
  TErrorFrame f;
  f.StartHandle(QStringLiteral("error"), QStringLiteral("A Error has occured. Acess Denied"),
                QStringLiteral("Error Code: 103"), QStringLiteral("Close"));
  f.move(5, 7);  // the user dragged the first notice aside
  f.StartHandle(QStringLiteral("warning"), QStringLiteral("You must type something!"), QString(),
                QStringLiteral("Okay"));
  QCOMPARE(shownIcon(f), QStringLiteral("image_warning"));
  QCOMPARE(text(f, "errortext"), QStringLiteral("You must type something!"));
  QCOMPARE(text(f, "errortext2"), QString());
  QCOMPARE(button(f)->text(), QStringLiteral("Okay"));
  // 316 x 153 on the screen: the half pixel of the height is truncated away.
  QCOMPARE(f.pos(), centredFor(QSize(316, 153)));
  int visible = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    visible += qobject_cast<TErrorFrame*>(w) && w->isVisible();
  QCOMPARE(visible, 1);
}

void MessageWindowTest::closes_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("button") << "button";
  QTest::newRow("x") << "x";
  QTest::newRow("enter") << "enter";
}

void MessageWindowTest::closes() {
  QFETCH(QString, how);
  testing_support::FakePlatform platform;
  TErrorFrame f;
  f.StartHandle(QStringLiteral("information"), QStringLiteral("a"), QStringLiteral("b"),
                QStringLiteral("Sure!"));
  QVERIFY(QTest::qWaitForWindowExposed(&f));
  if (how == "button") QTest::mouseClick(button(f), Qt::LeftButton);
  if (how == "x") QTest::mouseClick(f.findChild<QLabel*>("winbt_Close"), Qt::LeftButton);
  if (how == "enter") QTest::keyClick(&f, Qt::Key_Return);
  QVERIFY(!f.isVisible());
  QVERIFY(platform.errors.isEmpty());
}

QUILL_TEST_MAIN(MessageWindowTest)
#include "tst_dialogs_message.moc"
