// Opening and saving topics: the file format, the mark of unsaved changes, Restore,
// Ctrl+S, auto-save, the question before closing, and saves that fail.
#include <sys/stat.h>

#include <QCheckBox>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <optional>

#include "support/nobody.h"
#include "support/testmain.h"
#include "tst_editor_fixture.h"

using namespace editor_tests;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const QString kChangedQuestion = QStringLiteral(
    "This topic was changed by another window or program since you opened or saved it here. "
    "Do you wish to replace it with your text?");

QTimer* autoSaveTimer(TEditorForm* e) {
  return e->findChild<QTimer*>(QStringLiteral("SaveAutoT"));
}

// Ticks the Auto-Save box of `e` and makes its timer fire every 20 ms.
QTimer* autoSaveQuickly(TEditorForm* e) {
  QTest::mouseClick(e->findChild<QCheckBox*>(QStringLiteral("AutoSave")), Qt::LeftButton);
  QTimer* timer = autoSaveTimer(e);
  timer->setInterval(20);
  return timer;
}

}  // namespace

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
  void unreadableTopicIsNeverWrittenOver_data();
  void unreadableTopicIsNeverWrittenOver();
  void changedFileIsReplacedOnlyWhenAsked_data();
  void changedFileIsReplacedOnlyWhenAsked();
  void autoSaveNeverReplacesAChangedFile();
  void autoSaveWaitsWhileAQuestionIsOpen_data();
  void autoSaveWaitsWhileAQuestionIsOpen();
  void separatorsSurviveASave_data();
  void separatorsSurviveASave();
  void shiftEnterBreaksTheLine();
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
  QTest::newRow("UTF-8 with one stray byte")
      << QByteArray("Caf\xC3\xA9 \xE2\x9C\x93\r\nna\xEFve \xC3\xA9t\xC3\xA9")
      << QStringLiteral("Caf\u00E9 \u2713\nna\u00EFve \u00E9t\u00E9");
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
  QTimer* timer = autoSaveQuickly(idle);
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

  for (const auto& save : QList<std::function<void()>>{
           [&] { QTest::mouseClick(button(e, "SaveBt"), Qt::LeftButton); },
           [&] { QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier); },
           [&] { e->close(); }}) {
    f.dialogs.ErrorFrame->hide();
    // The file is gone or no longer a file: the user is asked whether to replace it, says
    // Yes (and Yes to saving on closing), and the write itself fails.
    f.platform.answers = {ui::Answer::Yes, ui::Answer::Yes};
    save();
    QVERIFY(!label(e, "saved_text")->isVisible());
    QVERIFY(!label(e, "saved_icon")->isVisible());
    QVERIFY(dirty(e));
    QVERIFY(e->isVisible());
    QCOMPARE(e->lastSaved(), QStringLiteral("old"));
    QVERIFY(f.noticeShown(QStringLiteral("The topic could not be saved."), reason));
    QVERIFY(noticeControl(f.dialogs, "image_error")->isVisibleTo(f.dialogs.ErrorFrame.get()));
    QCOMPARE(noticeControl<QPushButton>(f.dialogs, "e_Button")->text(), QStringLiteral("Ok"));
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

void EditorSaveTest::unreadableTopicIsNeverWrittenOver_data() {
  QTest::addColumn<QString>("damage");
  QTest::newRow("no permission to read") << "chmod 000";
  QTest::newRow("folder in its place") << "folder";
  QTest::newRow("named pipe in its place") << "pipe";
}

// A topic file that exists but cannot be read opens empty with a notice, and no save of that
// window ever writes over it.
void EditorSaveTest::unreadableTopicIsNeverWrittenOver() {
  QFETCH(QString, damage);
  Fixture f;
  // Every folder is open to the user; only the topic file is not.
  for (const QString& folder :
       {f.dir.path(), QStringLiteral("./Data"), QStringLiteral("./Data/Lg_Delphi"), kPageFolder,
        QStringLiteral("./Data/UserSettings")}) {
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0777) == 0);
  }
  const QByteArray precious = savedBytes(QStringLiteral("precious notes"));
  std::optional<testing_support::AsNobody> nobody;
  if (damage == "chmod 000") {
    writeBytes(kTopic7, precious);
    QVERIFY(::chmod(QFile::encodeName(kTopic7).constData(), 0) == 0);
    nobody.emplace();
    if (!nobody->binding()) QSKIP("cannot take the rights of an ordinary user here");
  } else if (damage == "folder") {
    QVERIFY(QDir().mkdir(kTopic7));
  } else {
    QVERIFY(::mkfifo(QFile::encodeName(kTopic7).constData(), 0666) == 0);
  }

  TEditorForm* e = f.open();
  QVERIFY(f.noticeShown(QStringLiteral("The topic could not be read."),
                        QStringLiteral("File access denied")));
  QVERIFY(noticeControl(f.dialogs, "image_error")->isVisibleTo(f.dialogs.ErrorFrame.get()));
  QCOMPARE(noticeControl<QPushButton>(f.dialogs, "e_Button")->text(), QStringLiteral("Ok"));
  QCOMPARE(e->memoText(), QString());
  QVERIFY(!dirty(e));

  QTimer* timer = autoSaveQuickly(e);
  typeAtEnd(e, QStringLiteral("new"));
  for (const auto& save : QList<std::function<void()>>{
           [&] { QTest::mouseClick(button(e, "SaveBt"), Qt::LeftButton); },
           [&] { QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier); },
           [&] {
             QSignalSpy ticks(timer, &QTimer::timeout);
             QVERIFY(ticks.wait());
           },
           [&] {
             f.platform.answers = {ui::Answer::Yes};
             e->close();
           }}) {
    f.dialogs.ErrorFrame->hide();
    save();
    QVERIFY(f.noticeShown(QStringLiteral("The topic could not be saved."),
                          QStringLiteral("File access denied")));
    QVERIFY(dirty(e));
    QVERIFY(e->isVisible());
    QVERIFY(!label(e, "saved_text")->isVisible());
    QCOMPARE(e->memoText(), QStringLiteral("new"));
  }
  QVERIFY(f.platform.errors.isEmpty());

  nobody.reset();
  struct stat st;
  QVERIFY(::stat(QFile::encodeName(kTopic7).constData(), &st) == 0);
  if (damage == "chmod 000") {
    QCOMPARE(st.st_mode & 07777, 0u);
    ::chmod(QFile::encodeName(kTopic7).constData(), 0644);
    QCOMPARE(readBytes(kTopic7), precious);
  } else {
    QVERIFY(damage == "folder" ? S_ISDIR(st.st_mode) : S_ISFIFO(st.st_mode));
  }
  QCOMPARE(QDir(kPageFolder)
               .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
           QStringList{"topic7.txt"});
}

void EditorSaveTest::changedFileIsReplacedOnlyWhenAsked_data() {
  QTest::addColumn<QString>("change");
  QTest::addColumn<bool>("replace");
  for (const char* change : {"saved by another editor", "written by another program", "deleted",
                             "created since it opened"}) {
    QTest::addRow("%s, Yes", change) << QString(change) << true;
    QTest::addRow("%s, No", change) << QString(change) << false;
  }
}

// A save never silently replaces what another window or program wrote to the topic file
// since this window read or saved it: the user is asked.
void EditorSaveTest::changedFileIsReplacedOnlyWhenAsked() {
  QFETCH(QString, change);
  QFETCH(bool, replace);
  Fixture f;
  const bool existed = change != "created since it opened";
  if (existed) writeBytes(kTopic7, savedBytes(QStringLiteral("v1")));
  TEditorForm* e = f.open();
  typeAtEnd(e, QStringLiteral(" mine"));
  const QString mine = e->memoText();

  std::optional<QByteArray> other = savedBytes(QStringLiteral("v1 written elsewhere"));
  if (change == "saved by another editor") {
    TEditorForm* second = f.open();
    typeAtEnd(second, QStringLiteral(" theirs"));
    QVERIFY(second->SaveText());
    other = savedBytes(QStringLiteral("v1 theirs"));
  } else if (change == "deleted") {
    QVERIFY(QFile::remove(kTopic7));
    other.reset();
  } else {
    writeBytes(kTopic7, *other);
  }

  f.platform.answers = {replace ? ui::Answer::Yes : ui::Answer::No};
  QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(f.platform.questions, QStringList{kChangedQuestion});
  QCOMPARE(f.platform.cancelOffered, QList<bool>{false});
  QCOMPARE(e->memoText(), mine);
  if (replace) {
    QCOMPARE(readBytes(kTopic7), savedBytes(mine));
    QVERIFY(!dirty(e));
    // Saved from here, the file is this window's again: the next save asks nothing.
    typeAtEnd(e, QStringLiteral("!"));
    QVERIFY(e->SaveText());
    QCOMPARE(f.platform.questions.size(), 1);
    QCOMPARE(readBytes(kTopic7), savedBytes(mine + "!"));
  } else {
    QCOMPARE(QFile::exists(kTopic7), other.has_value());
    if (other) QCOMPARE(readBytes(kTopic7), *other);
    QVERIFY(dirty(e));
    QVERIFY(!label(e, "saved_text")->isVisible());
    QVERIFY(!f.dialogs.ErrorFrame->isVisible());
  }
}

void EditorSaveTest::autoSaveNeverReplacesAChangedFile() {
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("v1")));
  TEditorForm* first = f.open();
  QTimer* timer = autoSaveQuickly(first);
  typeAtEnd(first, QStringLiteral(" mine"));
  TEditorForm* second = f.open();
  typeAtEnd(second, QStringLiteral(" theirs"));
  QVERIFY(second->SaveText());

  QSignalSpy ticks(timer, &QTimer::timeout);
  QTRY_VERIFY(ticks.size() >= 2);
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("v1 theirs")));
  QVERIFY(dirty(first));
  QVERIFY(!label(first, "saved_text")->isVisible());
  QVERIFY(f.platform.questions.isEmpty());
  QVERIFY(f.noticeShown(QStringLiteral("Auto-Save left this topic unsaved:"),
                        QStringLiteral("it was changed in another window.")));
  QVERIFY(noticeControl(f.dialogs, "image_warning")->isVisibleTo(f.dialogs.ErrorFrame.get()));
  // Told once: dismissed, the notice does not come back with every tick.
  f.dialogs.ErrorFrame->hide();
  const qsizetype seen = ticks.size();
  QTRY_VERIFY(ticks.size() >= seen + 2);
  QVERIFY(!f.dialogs.ErrorFrame->isVisible());
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("v1 theirs")));

  // The user saves, is asked, and replaces it.
  f.platform.answers = {ui::Answer::Yes};
  QTest::keyClick(memo(first), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(f.platform.questions, QStringList{kChangedQuestion});
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("v1 mine")));
  QVERIFY(!dirty(first));
}

void EditorSaveTest::autoSaveWaitsWhileAQuestionIsOpen_data() {
  QTest::addColumn<QString>("question");
  QTest::addColumn<int>("answer");  // ui::Answer
  QTest::newRow("restore, Yes") << "restore" << int(ui::Answer::Yes);
  QTest::newRow("close, No") << "close" << int(ui::Answer::No);
  QTest::newRow("replace a changed file, No") << "replace" << int(ui::Answer::No);
}

// Auto-save ticks while the user reads a question of the same window: the file ends as the
// answer says, not with what the ticks would have saved.
void EditorSaveTest::autoSaveWaitsWhileAQuestionIsOpen() {
  QFETCH(QString, question);
  QFETCH(int, answer);
  Fixture f;
  writeBytes(kTopic7, savedBytes(QStringLiteral("saved")));
  QPointer<TEditorForm> e = f.open();
  QTimer* timer = autoSaveQuickly(e);
  typeAtEnd(e, QStringLiteral(" unwanted"));
  QByteArray onDisk = savedBytes(QStringLiteral("saved"));
  if (question == "replace") {
    onDisk = savedBytes(QStringLiteral("saved elsewhere"));
    writeBytes(kTopic7, onDisk);
  }

  int ticksWhileOpen = 0;
  bool noticeWhileOpen = false;
  f.platform.onQuestion = [&](const QString&) {
    QSignalSpy ticks(timer, &QTimer::timeout);
    (void)QTest::qWaitFor([&] { return ticks.size() >= 3; });
    ticksWhileOpen = int(ticks.size());
    noticeWhileOpen = f.dialogs.ErrorFrame->isVisible();
  };
  f.platform.answers = {ui::Answer(answer)};
  if (question == "restore") {
    QTest::mouseClick(button(e, "BtRestore"), Qt::LeftButton);
  } else if (question == "close") {
    QTest::mouseClick(label(e, "winbt_Close"), Qt::LeftButton);
  } else {
    QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier);
  }
  QCOMPARE(f.platform.questions.size(), 1);
  QVERIFY(ticksWhileOpen >= 3);
  QVERIFY(!noticeWhileOpen);
  QCOMPARE(readBytes(kTopic7), onDisk);
  if (question == "restore") {
    QCOMPARE(e->memoText(), QStringLiteral("saved"));
    QVERIFY(!dirty(e));
  } else if (question == "close") {
    QTRY_VERIFY(e.isNull());
  } else {
    QCOMPARE(e->memoText(), QStringLiteral("saved unwanted"));
    QVERIFY(dirty(e));
  }
}

void EditorSaveTest::separatorsSurviveASave_data() {
  QTest::addColumn<QByteArray>("file");
  QTest::addColumn<bool>("edit");
  QTest::addColumn<QByteArray>("saved");
  const QString line = QStringLiteral("one\u2028two");
  const QString paragraph = QStringLiteral("one\u2029two");
  const QString both = QStringLiteral("a\u2028b\u2029c\nd\u00A0e");
  QTest::newRow("line separator") << savedBytes(line) << false << savedBytes(line);
  QTest::newRow("paragraph separator") << savedBytes(paragraph) << false << savedBytes(paragraph);
  QTest::newRow("all kinds, no mark, lone LF") << QByteArray(
                                                      "a\xE2\x80\xA8"
                                                      "b\xE2\x80\xA9"
                                                      "c\nd\xC2\xA0"
                                                      "e")
                                               << false << savedBytes(both);
  QTest::newRow("line separator, edited") << savedBytes(line) << true << savedBytes(line + "!");
  QTest::newRow("non-breaking space, edited")
      << savedBytes(QStringLiteral("a\u00A0b")) << true << savedBytes(QStringLiteral("a\u00A0b!"));
  // The memo holds a paragraph separator as the break between two of its paragraphs.
  QTest::newRow("paragraph separator, edited")
      << savedBytes(paragraph) << true << savedBytes(QStringLiteral("one\ntwo!"));
}

// Opening a topic and saving it writes back every character the file held; only the
// byte-order mark and the line ends are made the program's own.
void EditorSaveTest::separatorsSurviveASave() {
  QFETCH(QByteArray, file);
  QFETCH(bool, edit);
  QFETCH(QByteArray, saved);
  Fixture f;
  writeBytes(kTopic7, file);
  TEditorForm* e = f.open();
  if (edit) typeAtEnd(e, QStringLiteral("!"));
  QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(readBytes(kTopic7), saved);
  QVERIFY(!dirty(e));
}

void EditorSaveTest::shiftEnterBreaksTheLine() {
  Fixture f;
  TEditorForm* e = f.open();
  QTest::keyClicks(memo(e), QStringLiteral("one"));
  QTest::keyClick(memo(e), Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(memo(e), QStringLiteral("two"));
  QCOMPARE(e->memoText(), QStringLiteral("one\ntwo"));
  QVERIFY(e->SaveText());
  QCOMPARE(readBytes(kTopic7), savedBytes(QStringLiteral("one\ntwo")));
  // Nothing is typed into a read-only memo this way either.
  QTest::mouseClick(e->findChild<QCheckBox*>(QStringLiteral("ReadOnly")), Qt::LeftButton);
  QTest::keyClick(memo(e), Qt::Key_Return, Qt::ShiftModifier);
  QCOMPARE(e->memoText(), QStringLiteral("one\ntwo"));
}

QUILL_TEST_MAIN(EditorSaveTest)
#include "tst_editor_save.moc"
