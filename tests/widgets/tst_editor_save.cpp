// Opening and saving topics: the file format, the mark of unsaved changes, Restore,
// Ctrl+S, auto-save, the question before closing, and saves that fail.
#include <QCheckBox>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "support/testmain.h"
#include "tst_editor_fixture.h"

using namespace editor_tests;
using testing_support::readBytes;
using testing_support::writeBytes;

class EditorSaveTest : public QObject {
  Q_OBJECT

 private slots:
  void typedTextRoundTrips();
  void topicFilesLoad_data();
  void topicFilesLoad();
  void missingTopicOpensEmptyAndClean();
  void restoreBringsBackLastSave();
  void ctrlSSavesExactlyOnCtrl();
  void savedIndicatorHidesAfterTwoSeconds();
  void closeAsksOnlyWithUnsavedChanges_data();
  void closeAsksOnlyWithUnsavedChanges();
  void autoSaveWritesUnsavedChanges();
  void autoSaveLeavesLaterSaveOfOtherWindowAlone();
  void failedSaveKeepsChanges_data();
  void failedSaveKeepsChanges();
  void closedEditorNeverSavesAgain();
};

void EditorSaveTest::typedTextRoundTrips() {
  Fixture f;
  TEditorForm* e = f.open();
  QTest::keyClicks(memo(e), QStringLiteral("first line"));
  QTest::keyClick(memo(e), Qt::Key_Return);
  QTest::keyClicks(memo(e), QStringLiteral("zweite Zeile"));
  QTest::keyClick(memo(e), Qt::Key_Return);
  QTest::keyClick(memo(e), Qt::Key_Return);
  QTest::keyClicks(memo(e), QStringLiteral("end"));
  QVERIFY(dirty(e));

  QTest::mouseClick(button(e, "SaveBt"), Qt::LeftButton);
  QCOMPARE(readBytes(kTopic7), QByteArray("\xEF\xBB\xBF"
                                          "first line\r\nzweite Zeile\r\n\r\nend"));
  QVERIFY(!dirty(e));
  QVERIFY(label(e, "saved_text")->isVisible());
  QVERIFY(label(e, "saved_icon")->isVisible());

  TEditorForm* again = f.open();
  QCOMPARE(again->memoText(), QStringLiteral("first line\nzweite Zeile\n\nend"));
  QVERIFY(!dirty(again));
}

void EditorSaveTest::topicFilesLoad_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<QString>("text");
  const QString mixed = QStringLiteral("h\u00E9llo\nw\u00F6rld \u20AC");
  QTest::newRow("UTF-8 with mark") << savedBytes(mixed) << mixed;
  QTest::newRow("UTF-8 without mark") << savedBytes(mixed).mid(3) << mixed;
  QByteArray le("\xFF\xFE");
  QByteArray be("\xFE\xFF");
  for (QChar c : QStringLiteral("h\u00E9llo\r\nw\u00F6rld \u20AC")) {
    le += char(c.unicode() & 0xFF);
    le += char(c.unicode() >> 8);
    be += char(c.unicode() >> 8);
    be += char(c.unicode() & 0xFF);
  }
  QTest::newRow("UTF-16 LE") << le << mixed;
  QTest::newRow("UTF-16 BE") << be << mixed;
  QTest::newRow("Latin-1") << QByteArray("caf\xE9\r\nna\xEFve")
                           << QStringLiteral("caf\u00E9\nna\u00EFve");
  QTest::newRow("lone breaks") << QByteArray("a\nb\rc\r\n\r\nd") << QStringLiteral("a\nb\nc\n\nd");
  QTest::newRow("break at the end") << QByteArray("a\r\n") << QStringLiteral("a\n");
  QTest::newRow("non-breaking space and tab") << QByteArray(
                                                     "a\xC2\xA0"
                                                     "b\tc")
                                              << QStringLiteral("a\u00A0b\tc");
  QTest::newRow("empty file") << QByteArray() << QString();
}

// Every file opens with its text, and saving it again writes the same text in the
// program's own format.
void EditorSaveTest::topicFilesLoad() {
  QFETCH(QByteArray, file);
  QFETCH(QString, text);
  Fixture f;
  writeBytes(kTopic7, file);
  TEditorForm* e = f.open();
  QCOMPARE(e->memoText(), text);
  QCOMPARE(e->lastSaved(), text);
  QVERIFY(!dirty(e));

  QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(readBytes(kTopic7), savedBytes(text));
}

void EditorSaveTest::missingTopicOpensEmptyAndClean() {
  Fixture f;
  TEditorForm* e = f.open();
  QCOMPARE(e->memoText(), QString());
  QVERIFY(!dirty(e));
  QVERIFY(!QFile::exists(kTopic7));
  QVERIFY(!f.dialogs.ErrorFrame->isVisible());
}

void EditorSaveTest::restoreBringsBackLastSave() {
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("saved\ntext")));
  TEditorForm* e = f.open();
  typeAtEnd(e, QStringLiteral("!"));
  QVERIFY(dirty(e));

  f.platform.answers = {ui::Answer::No};
  QTest::mouseClick(button(e, "BtRestore"), Qt::LeftButton);
  QCOMPARE(f.platform.questions,
           QStringList{QStringLiteral("Are you sure you wish to restore the text to the last saved "
                                      "state? This will discard all changes made.")});
  QCOMPARE(f.platform.cancelOffered, QList<bool>{false});
  QCOMPARE(e->memoText(), QStringLiteral("saved\ntext!"));
  QVERIFY(dirty(e));

  f.platform.answers = {ui::Answer::Yes};
  QTest::mouseClick(button(e, "BtRestore"), Qt::LeftButton);
  QCOMPARE(e->memoText(), QStringLiteral("saved\ntext"));
  QVERIFY(!dirty(e));

  // After a save, Restore goes back to that save rather than to the loaded text.
  typeAtEnd(e, QStringLiteral("2"));
  QVERIFY(e->SaveText());
  typeAtEnd(e, QStringLiteral("3"));
  f.platform.answers = {ui::Answer::Yes};
  QTest::mouseClick(button(e, "BtRestore"), Qt::LeftButton);
  QCOMPARE(e->memoText(), QStringLiteral("saved\ntext2"));
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("saved\ntext2")));
}

void EditorSaveTest::ctrlSSavesExactlyOnCtrl() {
  Fixture f;
  TEditorForm* e = f.open();
  QTest::keyClicks(memo(e), QStringLiteral("abc"));

  QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  QVERIFY(!QFile::exists(kTopic7));
  QVERIFY(dirty(e));

  QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("abc")));
  QCOMPARE(e->memoText(), QStringLiteral("abc"));
  QVERIFY(!dirty(e));
  QVERIFY(label(e, "saved_text")->isVisible());
  // Typing goes on normally after the swallowed key.
  QTest::keyClicks(memo(e), QStringLiteral("d"));
  QCOMPARE(e->memoText(), QStringLiteral("abcd"));
}

void EditorSaveTest::savedIndicatorHidesAfterTwoSeconds() {
  Fixture f;
  TEditorForm* e = f.open();
  auto* iconHide = e->findChild<QTimer*>(QStringLiteral("IconHide"));
  QCOMPARE(iconHide->interval(), 2000);
  QVERIFY(!iconHide->isActive());
  QVERIFY(e->SaveText());
  QVERIFY(iconHide->isActive());
  QVERIFY(label(e, "saved_text")->isVisible());
  QCOMPARE(label(e, "saved_text")->text(), QStringLiteral("Saved!"));
  QTRY_VERIFY_WITH_TIMEOUT(!label(e, "saved_text")->isVisible(), 4000);
  QVERIFY(!label(e, "saved_icon")->isVisible());
  QVERIFY(!iconHide->isActive());
}

void EditorSaveTest::closeAsksOnlyWithUnsavedChanges_data() {
  QTest::addColumn<bool>("change");
  QTest::addColumn<int>("answer");  // ui::Answer
  QTest::addColumn<bool>("asked");
  QTest::addColumn<bool>("closes");
  QTest::addColumn<QByteArray>("file");
  const QByteArray before = savedBytes(QStringLiteral("old"));
  const QByteArray after = savedBytes(QStringLiteral("old new"));
  QTest::newRow("clean") << false << int(ui::Answer::Cancel) << false << true << before;
  QTest::newRow("dirty, Cancel") << true << int(ui::Answer::Cancel) << true << false << before;
  QTest::newRow("dirty, Yes") << true << int(ui::Answer::Yes) << true << true << after;
  QTest::newRow("dirty, No") << true << int(ui::Answer::No) << true << true << before;
}

void EditorSaveTest::closeAsksOnlyWithUnsavedChanges() {
  QFETCH(bool, change);
  QFETCH(int, answer);
  QFETCH(bool, asked);
  QFETCH(bool, closes);
  QFETCH(QByteArray, file);
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("old")));
  QPointer<TEditorForm> e = f.open();
  if (change) typeAtEnd(e, QStringLiteral(" new"));
  f.platform.answers = {ui::Answer(answer)};

  // The frame's "x".
  QTest::mouseClick(e->findChild<QLabel*>(QStringLiteral("winbt_Close")), Qt::LeftButton);

  QCOMPARE(f.platform.questions.size(), asked ? 1 : 0);
  if (asked) {
    QCOMPARE(f.platform.questions.first(), QStringLiteral("Do you wish to save changes?"));
    QCOMPARE(f.platform.cancelOffered.first(), true);
  }
  QCOMPARE(readBytes(kTopic7), file);
  if (closes) {
    QTRY_VERIFY(e.isNull());
  } else {
    QVERIFY(e->isVisible());
    QCOMPARE(e->memoText(), QStringLiteral("old new"));
    QVERIFY(dirty(e));
  }
}

void EditorSaveTest::autoSaveWritesUnsavedChanges() {
  Fixture f;
  TEditorForm* e = f.open();
  auto* timer = e->findChild<QTimer*>(QStringLiteral("SaveAutoT"));
  QCOMPARE(timer->interval(), 60000);
  QVERIFY(!timer->isActive());
  QTest::mouseClick(e->findChild<QCheckBox*>(QStringLiteral("AutoSave")), Qt::LeftButton);
  QVERIFY(timer->isActive());
  timer->setInterval(50);

  QTest::keyClicks(memo(e), QStringLiteral("kept"));
  QTRY_VERIFY(!dirty(e));
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("kept")));
  QVERIFY(label(e, "saved_text")->isVisible());

  QTest::mouseClick(e->findChild<QCheckBox*>(QStringLiteral("AutoSave")), Qt::LeftButton);
  QVERIFY(!timer->isActive());
}

// Two windows on one topic: the one without changes must not put its older text back
// over what the other just saved.
void EditorSaveTest::autoSaveLeavesLaterSaveOfOtherWindowAlone() {
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("v1")));
  TEditorForm* idle = f.open();
  QTest::mouseClick(idle->findChild<QCheckBox*>(QStringLiteral("AutoSave")), Qt::LeftButton);
  auto* timer = idle->findChild<QTimer*>(QStringLiteral("SaveAutoT"));
  timer->setInterval(20);
  TEditorForm* writer = f.open();
  typeAtEnd(writer, QStringLiteral(" v2"));
  QVERIFY(writer->SaveText());

  QSignalSpy ticks(timer, &QTimer::timeout);
  QTRY_VERIFY(ticks.size() >= 3);
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("v1 v2")));
}

void EditorSaveTest::failedSaveKeepsChanges_data() {
  QTest::addColumn<QString>("damage");
  QTest::addColumn<QString>("reason");
  QTest::newRow("page folder deleted") << "delete folder"
                                       << "File not found";
  QTest::newRow("folder where the file goes") << "folder at file"
                                              << "File access denied";
  QTest::newRow("folder nobody may write") << "unwritable"
                                           << "File access denied";
}

void EditorSaveTest::failedSaveKeepsChanges() {
  QFETCH(QString, damage);
  QFETCH(QString, reason);
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("old")));
  TEditorForm* e = f.open();
  typeAtEnd(e, QStringLiteral(" new"));
  if (damage == "delete folder") {
    QVERIFY(QDir(kPageFolder).removeRecursively());
  } else if (damage == "folder at file") {
    QVERIFY(QFile::remove(kTopic7));
    QVERIFY(QDir().mkdir(kTopic7));
  } else {
    // No one, not even the administrator, may create files in /sys.
    label(e, "storelocation")->setText(QStringLiteral("/sys/quillnote-topic7.txt"));
  }

  f.platform.answers = {ui::Answer::Yes};
  for (const auto& save : QList<std::function<void()>>{
           [&] { QTest::mouseClick(button(e, "SaveBt"), Qt::LeftButton); },
           [&] { QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier); },
           [&] { e->close(); }}) {
    f.dialogs.ErrorFrame->hide();
    save();
    QVERIFY(!label(e, "saved_text")->isVisible());
    QVERIFY(!label(e, "saved_icon")->isVisible());
    QVERIFY(dirty(e));
    QVERIFY(e->isVisible());
    QCOMPARE(e->lastSaved(), QStringLiteral("old"));
    QVERIFY(f.noticeShown(QStringLiteral("The topic could not be saved."), reason));
    QVERIFY(f.dialogs.ErrorFrame->image_error->isVisibleTo(f.dialogs.ErrorFrame.get()));
    QCOMPARE(f.dialogs.ErrorFrame->e_Button->text(), QStringLiteral("Ok"));
  }
  QCOMPARE(e->memoText(), QStringLiteral("old new"));
  if (damage == "folder at file") QVERIFY(QFileInfo(kTopic7).isDir());
  if (damage == "unwritable") QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("old")));
  QVERIFY(f.platform.errors.isEmpty());
}

void EditorSaveTest::closedEditorNeverSavesAgain() {
  Fixture f;
  QPointer<TEditorForm> e = f.open();
  QTest::mouseClick(e->findChild<QCheckBox*>(QStringLiteral("AutoSave")), Qt::LeftButton);
  QTest::keyClicks(memo(e), QStringLiteral("draft"));
  f.platform.answers = {ui::Answer::No};
  QVERIFY(e->close());
  QTRY_VERIFY(e.isNull());
  QVERIFY(!QFile::exists(kTopic7));
}

QUILL_TEST_MAIN(EditorSaveTest)
#include "tst_editor_save.moc"
