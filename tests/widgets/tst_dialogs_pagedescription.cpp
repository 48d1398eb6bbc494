// The page description dialog: OK writes the text as the page's line of the language's
// description file and nothing else; a failed write reaches the standard error report and
// leaves the dialog open; the "x" writes nothing.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "dialogs/ChangePgDes_u.h"
#include "support/fakeplatform.h"
#include "support/testmain.h"
#include "support/workdir.h"

namespace {

using testing_support::crlf;

const QString kAbout = QStringLiteral("./Data/Lg_Delphi/aboutpages.txt");

QList<QByteArray> fifteenPages() {
  QList<QByteArray> lines;
  for (int i = 1; i <= 15; ++i) lines << "page " + QByteArray::number(i);
  return lines;
}

// The dialog opened, as the home window opens it, on page `page` of Delphi.
struct Fixture {
  testing_support::WorkDir dir;
  testing_support::FakePlatform platform;
  TChangePA dialog;

  explicit Fixture(int page = 4) {
    QDir().mkpath(QStringLiteral("./Data/Lg_Delphi"));
    testing_support::writeBytes(kAbout, crlf(fifteenPages()));
    dialog.openFor(kAbout, page - 1, QString(), nullptr);
  }
};

QLineEdit* field(const TChangePA& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
}

QPushButton* okButton(const TChangePA& dialog) {
  return dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
}

}  // namespace

class PageDescriptionTest : public QObject {
  Q_OBJECT

 private slots:
  void designedControls_data();
  void designedControls();
  void dragPieces_data();
  void dragPieces();
  void okWritesThePagesLineOnly_data();
  void okWritesThePagesLineOnly();
  void otherDescriptionsKeepTheirBytes();
  void failedWriteGoesToTheErrorReport_data();
  void failedWriteGoesToTheErrorReport();
  void closeBoxWritesNothing();
  void centredOnTheHomeWindowWhenFirstShown();
};

void PageDescriptionTest::designedControls_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QRect>("rect");
  QTest::newRow("background") << "Image1" << QRect(0, 0, 321, 169);
  QTest::newRow("strip") << "border" << QRect(-6, 1, 319, 25);
  QTest::newRow("question") << "Label4" << QRect(0, 48, 313, 16);
  QTest::newRow("ok") << "Button1" << QRect(120, 131, 75, 25);
  QTest::newRow("text box") << "Edit1" << QRect(24, 96, 265, 21);
  QTest::newRow("close") << "winbt_Close" << QRect(295, 0, 20, 25);
}

void PageDescriptionTest::designedControls() {
  QFETCH(QString, control);
  QFETCH(QRect, rect);
  testing_support::FakePlatform platform;
  TChangePA dialog;
  QVERIFY(!dialog.isVisible());
  QCOMPARE(dialog.size(), QSize(315, 164));
  QCOMPARE(dialog.windowTitle(), QStringLiteral("Change Page Description"));
  QWidget* w = dialog.findChild<QWidget*>(control);
  QVERIFY2(w, qPrintable(control));
  QCOMPARE(w->geometry(), rect);
  auto* title = dialog.findChild<QLabel*>("Label1");
  QCOMPARE(title->text(), QStringLiteral("Edit Page Description"));
  QCOMPARE(title->pos(), QPoint(84, 4));
  QVERIFY(title->width() > 0);
  QCOMPARE(field(dialog)->placeholderText(), QStringLiteral("Type Here"));
  QVERIFY(dialog.findChild<QLabel*>("Label2") && dialog.findChild<QLabel*>("Label3"));
}

void PageDescriptionTest::dragPieces_data() {
  QTest::addColumn<QString>("piece");
  QTest::addColumn<bool>("drags");
  QTest::newRow("background") << "Image1" << true;
  QTest::newRow("strip") << "border" << true;
  QTest::newRow("title text") << "Label1" << false;
  QTest::newRow("question") << "Label4" << false;
}

void PageDescriptionTest::dragPieces() {
  QFETCH(QString, piece);
  QFETCH(bool, drags);
  Fixture f;
  QVERIFY(QTest::qWaitForWindowExposed(&f.dialog));
  auto* w = f.dialog.findChild<QWidget*>(piece);
  QTest::mousePress(w, Qt::LeftButton, {}, QPoint(2, 2));
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(2, 2));
  QCOMPARE(f.platform.moves, drags ? 1 : 0);
}

void PageDescriptionTest::okWritesThePagesLineOnly_data() {
  QTest::addColumn<int>("page");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<bool>("byEnter");
  QTest::addColumn<QByteArray>("lineAfter");
  QTest::newRow("page 4") << 4 << "Generics" << false << QByteArray("Generics");
  QTest::newRow("empty text, empty line") << 4 << "" << false << QByteArray();
  QTest::newRow("page 15 by Enter") << 15 << "Last one" << true << QByteArray("Last one");
  QTest::newRow("pasted lines") << 1 << "one\ntwo" << false << QByteArray("one two");
}

void PageDescriptionTest::okWritesThePagesLineOnly() {
  QFETCH(int, page);
  QFETCH(QString, typed);
  QFETCH(bool, byEnter);
  QFETCH(QByteArray, lineAfter);
  Fixture f(page);
  field(f.dialog)->setText(typed);
  if (byEnter) {
    QVERIFY(QTest::qWaitForWindowExposed(&f.dialog));
    field(f.dialog)->setFocus();
    QTest::keyClick(field(f.dialog), Qt::Key_Return);
  } else {
    QTest::mouseClick(okButton(f.dialog), Qt::LeftButton);
  }
  QList<QByteArray> expected = fifteenPages();
  expected[page - 1] = lineAfter;
  QCOMPARE(testing_support::readBytes(kAbout), crlf(expected));
  QVERIFY(!f.dialog.isVisible());
  QVERIFY(f.platform.errors.isEmpty());
}

// A description file edited by hand in other programs: descriptions in UTF-8 and in an 8-bit
// code page, with their own line ends, the last without one. Only the page described changes.
void PageDescriptionTest::otherDescriptionsKeepTheirBytes() {
  Fixture f(2);
  const QByteArray before(
      "Caf\xC3\xA9 \xE2\x9C\x93\r\n"
      "old\n"
      "na\xEFve\r"
      "caf\xE9 \xE2\x9C\x93\r\n"
      "last");
  testing_support::writeBytes(kAbout, before);
  field(f.dialog)->setText(QStringLiteral("Generics \u2192 Maps"));
  QTest::mouseClick(okButton(f.dialog), Qt::LeftButton);
  QCOMPARE(testing_support::readBytes(kAbout), QByteArray("Caf\xC3\xA9 \xE2\x9C\x93\r\n"
                                                          "Generics \xE2\x86\x92 Maps\r\n"
                                                          "na\xEFve\r"
                                                          "caf\xE9 \xE2\x9C\x93\r\n"
                                                          "last"));
  QVERIFY(f.platform.errors.isEmpty());
}

void PageDescriptionTest::failedWriteGoesToTheErrorReport_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<QString>("report");
  QTest::newRow("description file missing") << "./Data/Lg_Delphi/missing.txt"
                                            << "File not found.";
  QTest::newRow("language folder missing") << "./Data/Lg_Nothing/aboutpages.txt"
                                           << "File not found.";
}

void PageDescriptionTest::failedWriteGoesToTheErrorReport() {
  QFETCH(QString, file);
  QFETCH(QString, report);
  Fixture f;
  f.dialog.openFor(file, f.dialog.linen(), QString(), nullptr);
  field(f.dialog)->setText(QStringLiteral("Generics"));
  QTest::mouseClick(okButton(f.dialog), Qt::LeftButton);
  QCOMPARE(f.platform.errors, QStringList{report});
  QVERIFY(f.dialog.isVisible());
  QVERIFY(!QFile::exists(file));
  QCOMPARE(testing_support::readBytes(kAbout), crlf(fifteenPages()));
}

void PageDescriptionTest::closeBoxWritesNothing() {
  Fixture f;
  QVERIFY(QTest::qWaitForWindowExposed(&f.dialog));
  field(f.dialog)->setText(QStringLiteral("Generics"));
  QTest::mouseClick(f.dialog.findChild<QLabel*>("winbt_Close"), Qt::LeftButton);
  QVERIFY(!f.dialog.isVisible());
  QCOMPARE(testing_support::readBytes(kAbout), crlf(fifteenPages()));
}

void PageDescriptionTest::centredOnTheHomeWindowWhenFirstShown() {
  testing_support::FakePlatform platform;
  QWidget home;
  home.setGeometry(100, 50, 500, 400);
  TChangePA dialog;
  dialog.openFor(kAbout, 0, QString(), &home);
  QVERIFY(dialog.isVisible());
  QCOMPARE(dialog.pos(), QPoint(100 + (500 - 315) / 2, 50 + (400 - 164) / 2));
  dialog.hide();
  dialog.move(7, 9);  // the user moved it; it stays there from now on
  home.move(300, 100);
  dialog.openFor(kAbout, 0, QString(), &home);
  QVERIFY(dialog.isVisible());
  QCOMPARE(dialog.pos(), QPoint(7, 9));
}

QUILL_TEST_MAIN(PageDescriptionTest)
#include "tst_dialogs_pagedescription.moc"
