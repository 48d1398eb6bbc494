// The editor settings: read when a window is made (bad files give a notice and keep what
// read well), rewritten whole on every change, shared by the windows opened later.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include "support/testmain.h"
#include "tst_editor_fixture.h"

using namespace editor_tests;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {
QSlider* trackBar(TEditorForm* e) {
  return e->findChild<QSlider*>(QStringLiteral("TrackBar1"));
}
QComboBox* fontBox(TEditorForm* e) {
  return e->findChild<QComboBox*>(QStringLiteral("FontBox"));
}
QCheckBox* box(TEditorForm* e, const char* name) {
  return e->findChild<QCheckBox*>(QString::fromLatin1(name));
}
}  // namespace

class EditorSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void settingsFileApplied_data();
  void settingsFileApplied();
  void firstChangeWritesTheFile();
  void laterWindowsTakeTheSettings();
  void typedFontNameKeptAsTyped();
  void failedWriteIsReported();
};

void EditorSettingsTest::settingsFileApplied_data() {
  QTest::addColumn<bool>("present");
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<bool>("notice");
  QTest::addColumn<int>("size");
  QTest::addColumn<QString>("font");  // the name read from the file; empty: none
  QTest::addColumn<bool>("autoSave");
  QTest::addColumn<bool>("readOnly");
  const QString none;
  QTest::newRow("no file yet") << false << QByteArray() << false << 15 << none << false << false;
  QTest::newRow("all four") << true << QByteArray("22\r\nConsolas\r\n-1\r\n-1\r\n") << false << 22
                            << "Consolas" << true << true;
  QTest::newRow("size not a number") << true << QByteArray("abc\r\nConsolas\r\n-1\r\n-1\r\n")
                                     << true << 15 << none << false << false;
  QTest::newRow("size with a trailing blank") << true << QByteArray("12 \r\nConsolas\r\n0\r\n0\r\n")
                                              << true << 15 << none << false << false;
  QTest::newRow("two lines only") << true << QByteArray("12\r\nConsolas\r\n") << true << 12
                                  << "Consolas" << false << false;
  QTest::newRow("bad read-only") << true << QByteArray("12\r\nArial\r\n-1\r\nyes\r\n") << true << 12
                                 << "Arial" << true << false;
  QTest::newRow("size above range") << true << QByteArray("40\r\nArial\r\n0\r\n0\r\n") << false
                                    << 30 << "Arial" << false << false;
  QTest::newRow("size below range")
      << true << QByteArray("3\r\nArial\r\n0\r\n0\r\n") << false << 5 << "Arial" << false << false;
  QTest::newRow("hexadecimal with $") << true << QByteArray("$14\r\nArial\r\n0\r\n0\r\n") << false
                                      << 20 << "Arial" << false << false;
  QTest::newRow("hexadecimal with 0x") << true << QByteArray(" 0x14\r\nArial\r\n0\r\n0\r\n")
                                       << false << 20 << "Arial" << false << false;
  QTest::newRow("True and false") << true << QByteArray("15\r\nArial\r\nTrue\r\nfalse\r\n") << false
                                  << 15 << "Arial" << true << false;
  QTest::newRow("0 and 2") << true << QByteArray("15\r\nArial\r\n0\r\n2\r\n") << false << 15
                           << "Arial" << false << true;
  QTest::newRow("LF only") << true << QByteArray("16\nArial\n-1\n0\n") << false << 16 << "Arial"
                           << true << false;
  QTest::newRow("empty file") << true << QByteArray() << true << 15 << none << false << false;
}

void EditorSettingsTest::settingsFileApplied() {
  QFETCH(bool, present);
  QFETCH(QByteArray, file);
  QFETCH(bool, notice);
  QFETCH(int, size);
  QFETCH(QString, font);
  QFETCH(bool, autoSave);
  QFETCH(bool, readOnly);
  Fixture f;
  if (present) writeBytes(kSettings, file);
  TEditorForm* e = f.open();

  QCOMPARE(f.noticeShown(QStringLiteral("A Error has occured reading"),
                         QStringLiteral("the user settings.")),
           notice);
  if (notice)
    QCOMPARE(noticeControl<QPushButton>(f.dialogs, "e_Button")->text(), QStringLiteral("Ok"));
  QCOMPARE(trackBar(e)->value(), size);
  QCOMPARE(QFontInfo(memo(e)->font()).pointSize(), size);
  // Without a name read, the box shows its designed text and the memo keeps its Tahoma.
  QCOMPARE(fontBox(e)->currentText(), font.isEmpty() ? QStringLiteral("Calibri") : font);
  QCOMPARE(memo(e)->font().family(), font.isEmpty() ? QStringLiteral("Tahoma") : font);
  QCOMPARE(box(e, "AutoSave")->isChecked(), autoSave);
  QCOMPARE(e->findChild<QTimer*>(QStringLiteral("SaveAutoT"))->isActive(), autoSave);
  QCOMPARE(box(e, "ReadOnly")->isChecked(), readOnly);
  QCOMPARE(memo(e)->isReadOnly(), readOnly);
  // Reading never writes the file.
  QCOMPARE(QFile::exists(kSettings), present);
  if (present) QCOMPARE(readBytes(kSettings), file);
  QVERIFY(f.platform.errors.isEmpty());
}

void EditorSettingsTest::firstChangeWritesTheFile() {
  Fixture f;
  TEditorForm* e = f.open();
  // The designed memo font: Tahoma, 20 pixels at 96 dots per inch.
  QCOMPARE(QFontInfo(memo(e)->font()).pixelSize(), 20);
  QVERIFY(!QFile::exists(kSettings));
  trackBar(e)->setFocus();
  for (int i = 0; i < 3; ++i) QTest::keyClick(trackBar(e), Qt::Key_Right);
  QCOMPARE(trackBar(e)->value(), 18);
  QCOMPARE(memo(e)->font().pointSize(), 18);
  QCOMPARE(readBytes(kSettings), QByteArray("18\r\nCalibri\r\n0\r\n0\r\n"));

  QTest::mouseClick(box(e, "ReadOnly"), Qt::LeftButton);
  QVERIFY(memo(e)->isReadOnly());
  QCOMPARE(readBytes(kSettings), QByteArray("18\r\nCalibri\r\n0\r\n-1\r\n"));
  // Clicking the caption beside the box ticks it too.
  QTest::mouseClick(box(e, "AutoSave"), Qt::LeftButton, {},
                    label(e, "AUSAVEText")->geometry().center() - box(e, "AutoSave")->pos());
  QCOMPARE(readBytes(kSettings), QByteArray("18\r\nCalibri\r\n-1\r\n-1\r\n"));
  QVERIFY(f.platform.errors.isEmpty());
}

void EditorSettingsTest::laterWindowsTakeTheSettings() {
  Fixture f;
  TEditorForm* first = f.open();
  trackBar(first)->setValue(20);
  QTest::mouseClick(box(first, "AutoSave"), Qt::LeftButton);
  QVERIFY(box(first, "AutoSave")->isChecked());

  TEditorForm* second = f.open(8);
  QVERIFY(box(second, "AutoSave")->isChecked());
  QVERIFY(second->findChild<QTimer*>(QStringLiteral("SaveAutoT"))->isActive());
  QCOMPARE(trackBar(second)->value(), 20);
  QVERIFY(!f.dialogs.ErrorFrame->isVisible());

  // The second window's change reaches the file, not the first window.
  trackBar(second)->setValue(10);
  QCOMPARE(trackBar(first)->value(), 20);
  QCOMPARE(memo(first)->font().pointSize(), 20);
  QCOMPARE(readBytes(kSettings), QByteArray("10\r\nCalibri\r\n-1\r\n0\r\n"));
}

void EditorSettingsTest::typedFontNameKeptAsTyped() {
  Fixture f;
  TEditorForm* e = f.open();
  QVERIFY(fontBox(e)->count() > 0);  // the installed fonts
  QLineEdit* edit = fontBox(e)->lineEdit();
  edit->selectAll();
  QTest::keyClicks(edit, QStringLiteral("No Such Font"));
  QCOMPARE(fontBox(e)->currentText(), QStringLiteral("No Such Font"));
  QCOMPARE(memo(e)->font().family(), QStringLiteral("No Such Font"));
  QCOMPARE(readBytes(kSettings), QByteArray("15\r\nNo Such Font\r\n0\r\n0\r\n"));
  // A prefix of an installed name stays what was typed.
  const QString installed = fontBox(e)->itemText(0);
  edit->selectAll();
  QTest::keyClicks(edit, installed.left(2));
  QCOMPARE(fontBox(e)->currentText(), installed.left(2));

  TEditorForm* next = f.open(8);
  QCOMPARE(fontBox(next)->currentText(), installed.left(2));
}

void EditorSettingsTest::failedWriteIsReported() {
  Fixture f(false);
  QDir().mkpath(kPageFolder);
  TEditorForm* e = f.open();
  QVERIFY(!f.dialogs.ErrorFrame->isVisible());
  trackBar(e)->setFocus();
  QTest::keyClick(trackBar(e), Qt::Key_Right);
  QCOMPARE(trackBar(e)->value(), 16);
  QCOMPARE(memo(e)->font().pointSize(), 16);
  QCOMPARE(f.platform.errors, QStringList{QStringLiteral("File not found.")});
}

QUILL_TEST_MAIN(EditorSettingsTest)
#include "tst_editor_settings.moc"
