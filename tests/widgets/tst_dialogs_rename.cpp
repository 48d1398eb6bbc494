// The topic rename dialog: OK writes the name as the topic's line of its page's topic
// list and nothing else; an empty name or a failed write shows a notice in the message
// window and leaves the dialog open with `done` clear.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "dialogs/About_u.h"
#include "dialogs/ChangePgDes_u.h"
#include "dialogs/ChangeTopic_u.h"
#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "support/fakeplatform.h"
#include "support/testmain.h"
#include "support/workdir.h"

namespace {

using testing_support::crlf;

const QString kTopics = QStringLiteral("./Data/Lg_Delphi/3/topics.txt");

QList<QByteArray> tenTopics() {
  QList<QByteArray> lines;
  for (int i = 1; i <= 10; ++i) lines << "topic " + QByteArray::number(i);
  return lines;
}

void writeTopics(const QByteArray& bytes) {
  QDir().mkpath(QStringLiteral("./Data/Lg_Delphi/3"));
  testing_support::writeBytes(kTopics, bytes);
}

// A rename dialog opened, as an editor opens it, on slot `slot` of page 3 of Delphi.
struct Fixture {
  testing_support::WorkDir dir;
  testing_support::FakePlatform platform;
  TErrorFrame frame;
  TTopicEdit dialog{&frame};

  explicit Fixture(int slot = 7) {
    dialog.openFor(QStringLiteral("Lg_Delphi/3"), slot, QString(), nullptr);
  }
};

QLineEdit* nameBox(const TTopicEdit& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("name"));
}

QPushButton* okButton(const TTopicEdit& dialog) {
  return dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
}

QString lineOf(const TErrorFrame& frame, const char* name) {
  return frame.findChild<QLabel*>(QString::fromLatin1(name))->text();
}

}  // namespace

class RenameTest : public QObject {
  Q_OBJECT

 private slots:
  void designedControls_data();
  void designedControls();
  void okWritesTheTopicsLineOnly_data();
  void okWritesTheTopicsLineOnly();
  void enterInTheNameBoxIsOk();
  void refusedRenameShowsNotice_data();
  void refusedRenameShowsNotice();
  void centredOnTheScreenOnlyWhenFirstShown();
  void dialogSetSharesTheMessageWindow();
};

void RenameTest::designedControls_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QRect>("rect");
  QTest::newRow("background") << "Image1" << QRect(0, 0, 321, 169);
  QTest::newRow("question") << "Label4" << QRect(0, 48, 313, 16);
  QTest::newRow("ok") << "Button1" << QRect(117, 131, 75, 25);
  QTest::newRow("name") << "name" << QRect(24, 96, 265, 21);
  QTest::newRow("right strip") << "Label2" << QRect(313, 25, 3, 150);
  QTest::newRow("bottom strip") << "Label3" << QRect(-7, 162, 326, 3);
}

void RenameTest::designedControls() {
  QFETCH(QString, control);
  QFETCH(QRect, rect);
  testing_support::FakePlatform platform;
  TErrorFrame frame;
  TTopicEdit dialog(&frame);
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.size(), QSize(316, 165));
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit TOpic"));
  QVERIFY(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
  QWidget* w = dialog.findChild<QWidget*>(control);
  QVERIFY2(w, qPrintable(control));
  QCOMPARE(w->geometry(), rect);
  QCOMPARE(dialog.findChild<QLabel*>("title")->text(), QStringLiteral("Edit Topic"));
  QCOMPARE(nameBox(dialog)->placeholderText(), QStringLiteral("Type Here"));
  QCOMPARE(dialog.findChild<QLabel*>("Label4")->text(), QStringLiteral("What's this topic about?"));
}

void RenameTest::okWritesTheTopicsLineOnly_data() {
  QTest::addColumn<int>("slot");
  QTest::addColumn<QByteArray>("before");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QByteArray>("after");

  QList<QByteArray> renamed = tenTopics();
  renamed[6] = "Generics";
  QTest::newRow("slot 7") << 7 << crlf(tenTopics()) << "Generics" << crlf(renamed);

  renamed = tenTopics();
  renamed[0] =
      "\xc3\x9c"
      "bersicht \xe2\x86\x92 Maps";
  QTest::newRow("slot 1, non-ASCII")
      << 1 << crlf(tenTopics()) << QString::fromUtf8(renamed[0]) << crlf(renamed);

  renamed = tenTopics();
  renamed[9] = "first second third";
  QTest::newRow("line breaks become one line")
      << 10 << crlf(tenTopics()) << "first\r\nsecond\nthird" << crlf(renamed);

  QTest::newRow("short file is extended")
      << 7 << crlf({"a", "b", "c"}) << "Generics" << crlf({"a", "b", "c", "", "", "", "Generics"});

  // Names written by hand in another program: the others keep their bytes and line ends.
  QTest::newRow("other names keep their bytes")
      << 2 << QByteArray("Caf\xC3\xA9 \xE2\x9C\x93\r\nold\nna\xEFve\ncaf\xE9 \xE2\x9C\x93\r\nlast")
      << QString::fromUtf8(
             "Gr\xC3\xB6\xC3\x9F"
             "e")
      << QByteArray(
             "Caf\xC3\xA9 \xE2\x9C\x93\r\nGr\xC3\xB6\xC3\x9F"
             "e\r\nna\xEFve\ncaf\xE9 \xE2\x9C\x93\r\nlast");
}

void RenameTest::okWritesTheTopicsLineOnly() {
  QFETCH(int, slot);
  QFETCH(QByteArray, before);
  QFETCH(QString, typed);
  QFETCH(QByteArray, after);
  Fixture f(slot);
  writeTopics(before);
  nameBox(f.dialog)->setText(typed);
  QTest::mouseClick(okButton(f.dialog), Qt::LeftButton);
  QCOMPARE(testing_support::readBytes(kTopics), after);
  QVERIFY(f.dialog.done());
  QVERIFY(!f.dialog.isVisible());
  QVERIFY(!f.frame.isVisible());
  QVERIFY(f.platform.errors.isEmpty());
}

void RenameTest::enterInTheNameBoxIsOk() {
  Fixture f;
  writeTopics(crlf(tenTopics()));
  QVERIFY(QTest::qWaitForWindowExposed(&f.dialog));
  nameBox(f.dialog)->setFocus();
  QTest::keyClicks(nameBox(f.dialog), QStringLiteral("Pointers"));
  QTest::keyClick(nameBox(f.dialog), Qt::Key_Return);
  QList<QByteArray> renamed = tenTopics();
  renamed[6] = "Pointers";
  QCOMPARE(testing_support::readBytes(kTopics), crlf(renamed));
  QVERIFY(f.dialog.done());
  QVERIFY(!f.dialog.isVisible());
}

void RenameTest::refusedRenameShowsNotice_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("fileExists");
  QTest::addColumn<int>("slot");
  QTest::addColumn<QString>("icon");
  QTest::addColumn<QString>("text");
  QTest::addColumn<QString>("text2");
  QTest::addColumn<QString>("button");

  QTest::newRow("empty name") << "" << true << 7 << "image_warning"
                              << "You must type something!"
                              << ""
                              << "Okay";
  QTest::newRow("empty name, list missing") << "" << false << 7 << "image_warning"
                                            << "You must type something!"
                                            << ""
                                            << "Okay";
  QTest::newRow("topic list deleted") << "Generics" << false << 7 << "image_error"
                                      << "A Error has occured. Acess Denied"
                                      << "Error Code: 103"
                                      << "Close";
  QTest::newRow("slot 0 from a damaged address") << "Generics" << true << 0 << "image_error"
                                                 << "A Error has occured. Acess Denied"
                                                 << "Error Code: 103"
                                                 << "Close";
  QTest::newRow("slot past the page") << "Generics" << true << 11 << "image_error"
                                      << "A Error has occured. Acess Denied"
                                      << "Error Code: 103"
                                      << "Close";
}

void RenameTest::refusedRenameShowsNotice() {
  QFETCH(QString, typed);
  QFETCH(bool, fileExists);
  QFETCH(int, slot);
  QFETCH(QString, icon);
  QFETCH(QString, text);
  QFETCH(QString, text2);
  QFETCH(QString, button);
  Fixture f(slot);
  writeTopics(crlf(tenTopics()));
  if (!fileExists) QVERIFY(QFile::remove(kTopics));
  nameBox(f.dialog)->setText(typed);
  QTest::mouseClick(okButton(f.dialog), Qt::LeftButton);

  QVERIFY(f.frame.isVisible());
  QVERIFY(f.frame.findChild<QLabel*>(icon)->isVisible());
  QCOMPARE(lineOf(f.frame, "errortext"), text);
  QCOMPARE(lineOf(f.frame, "errortext2"), text2);
  QCOMPARE(f.frame.findChild<QPushButton*>("e_Button")->text(), button);
  QVERIFY(f.dialog.isVisible());
  QVERIFY(!f.dialog.done());
  QVERIFY(f.platform.errors.isEmpty());
  if (fileExists) {
    QCOMPARE(testing_support::readBytes(kTopics), crlf(tenTopics()));
  } else {
    QVERIFY(!QFile::exists(kTopics));
  }
}

void RenameTest::centredOnTheScreenOnlyWhenFirstShown() {
  testing_support::FakePlatform platform;
  TErrorFrame frame;
  TTopicEdit dialog(&frame);
  dialog.show();
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  // 316 x 165 centred on the screen, halves truncated toward zero.
  QCOMPARE(dialog.pos(), screen.topLeft() + QPoint(int(screen.width() / 2.0 - 158.0),
                                                   int(screen.height() / 2.0 - 82.5)));
  dialog.hide();
  dialog.move(10, 20);
  dialog.show();
  QCOMPARE(dialog.pos(), QPoint(10, 20));
}

void RenameTest::dialogSetSharesTheMessageWindow() {
  testing_support::WorkDir dir;
  testing_support::FakePlatform platform;
  Dialogs set;
  for (QWidget* w :
       {static_cast<QWidget*>(set.ChangePA.get()), static_cast<QWidget*>(set.TopicEdit.get()),
        static_cast<QWidget*>(set.ErrorFrame.get()), static_cast<QWidget*>(set.AboutApp.get())}) {
    QVERIFY(!w->isVisible());
  }
  set.TopicEdit->openFor(QStringLiteral("Lg_Delphi/3"), 7, QString(), nullptr);
  QTest::mouseClick(okButton(*set.TopicEdit), Qt::LeftButton);
  QVERIFY(set.ErrorFrame->isVisible());
  QCOMPARE(lineOf(*set.ErrorFrame, "errortext"), QStringLiteral("You must type something!"));
}

QUILL_TEST_MAIN(RenameTest)
#include "tst_dialogs_rename.moc"
