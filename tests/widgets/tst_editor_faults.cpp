// Saving when the disk is full or cannot be written: the user sees why, the text stays in
// the editor marked unsaved, the file on disk keeps its previous content whole, and once
// the fault is gone the same text saves. The same for the one-line writes of a rename, a
// page description and a settings change.
//
// The faults are real where the system allows: a small in-memory file system, filled up
// or remounted read-only, in a mount namespace private to this test process. Elsewhere a
// limit on the size of files this process may write stands in for the full disk.
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSlider>
#include <QtTest>
#include <csignal>
#include <memory>

#include "dialogs/ChangePgDes_u.h"
#include "dialogs/ChangeTopic_u.h"
#include "support/testmain.h"
#include "tst_editor_fixture.h"

using namespace editor_tests;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

enum class Fault { Full, ReadOnly };

// A small file system of its own under the working directory, or, where mounting is not
// allowed, a file size limit that makes every write fail.
class FaultyFolder {
 public:
  explicit FaultyFolder(const QString& path) : path_(path) {
    QDir().mkpath(path);
    mounted_ = mountPrivateTmpfs();
  }
  ~FaultyFolder() {
    clear();
    if (mounted_) ::umount2(QFile::encodeName(path_).constData(), MNT_DETACH);
  }
  FaultyFolder(const FaultyFolder&) = delete;
  FaultyFolder& operator=(const FaultyFolder&) = delete;

  bool mounted() const { return mounted_; }

  // Brings on the fault; false when this system cannot produce it.
  bool apply(Fault fault) {
    fault_ = fault;
    if (fault == Fault::Full) {
      if (mounted_) return fillUp();
      limitFileSize(true);
      return true;
    }
    if (mounted_) return remount(MS_RDONLY);
    if (::geteuid() == 0) return false;  // permissions do not stop the superuser
    return ::chmod(QFile::encodeName(path_ + "/Data/Lg_Delphi/3").constData(), 0555) == 0 &&
           ::chmod(QFile::encodeName(path_ + "/Data/Lg_Delphi").constData(), 0555) == 0 &&
           ::chmod(QFile::encodeName(path_ + "/Data/UserSettings").constData(), 0555) == 0;
  }

  // Removes the fault.
  void clear() {
    if (!fault_) return;
    if (*fault_ == Fault::Full) {
      if (mounted_) {
        QFile::remove(path_ + "/filler");
      } else {
        limitFileSize(false);
      }
    } else if (mounted_) {
      remount(0);
    } else {
      for (const char* dir : {"/Data/Lg_Delphi/3", "/Data/Lg_Delphi", "/Data/UserSettings"})
        ::chmod(QFile::encodeName(path_ + dir).constData(), 0755);
    }
    fault_.reset();
  }

  // The reason the user is told.
  QString reason(Fault fault) const {
    if (fault == Fault::ReadOnly) return QStringLiteral("File access denied");
    return mounted_ ? QStringLiteral("Disk full") : QStringLiteral("I/O error 1027");  // EFBIG
  }

 private:
  bool mountPrivateTmpfs() {
    static const bool ownNamespace =
        ::unshare(CLONE_NEWNS) == 0 &&
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return ownNamespace && ::mount("tmpfs", QFile::encodeName(path_).constData(), "tmpfs", 0,
                                   "size=512k,mode=0755") == 0;
  }

  bool remount(unsigned long flags) {
    return ::mount(nullptr, QFile::encodeName(path_).constData(), nullptr, MS_REMOUNT | flags,
                   "size=512k,mode=0755") == 0;
  }

  bool fillUp() {
    QFile filler(path_ + "/filler");
    if (!filler.open(QIODevice::WriteOnly)) return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
    // Nothing more fits: not even one byte in a new file.
    QFile probe(path_ + "/probe");
    const bool full =
        !probe.open(QIODevice::WriteOnly) || probe.write("x", 1) != 1 || !probe.flush();
    probe.close();
    probe.remove();
    return full;
  }

  static void limitFileSize(bool on) {
    static rlimit previous{};
    static void (*previousHandler)(int) = nullptr;
    if (on) {
      ::getrlimit(RLIMIT_FSIZE, &previous);
      rlimit one = previous;
      one.rlim_cur = 1;
      previousHandler = std::signal(SIGXFSZ, SIG_IGN);
      ::setrlimit(RLIMIT_FSIZE, &one);
    } else {
      ::setrlimit(RLIMIT_FSIZE, &previous);
      std::signal(SIGXFSZ, previousHandler);
    }
  }

  QString path_;
  bool mounted_ = false;
  std::optional<Fault> fault_;
};

// Entries of `folder`, hidden ones included: a temporary file left behind would show.
QStringList entriesOf(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

const QString kOld = QStringLiteral(
    "The old text, long enough that no file size limit lets it through: "
    "for i := 1 to 10 do Writeln(i);");

// An editor session on topic 7 of page 3 inside the faulty folder.
struct Session {
  testing_support::WorkDir dir;
  std::unique_ptr<FaultyFolder> folder;
  testing_support::FakePlatform platform;
  Dialogs dialogs;
  QPointer<TEditorForm> editor;
  QByteArray topicsBefore;
  QByteArray aboutBefore;
  QByteArray settingsBefore;

  Session() {
    folder = std::make_unique<FaultyFolder>(dir.path() + "/disk");
    QDir::setCurrent(dir.path() + "/disk");
    QDir().mkpath(kPageFolder);
    QDir().mkpath(QStringLiteral("./Data/UserSettings"));
    writeBytes(kTopic7, savedBytes(kOld));
    topicsBefore = QByteArray("click to create topic\r\n").repeated(10);
    aboutBefore = QByteArray("click to edit page description\r\n").repeated(15);
    settingsBefore = "15\r\nCalibri\r\n0\r\n0\r\n";
    writeBytes(kPageFolder + "/topics.txt", topicsBefore);
    writeBytes(QStringLiteral("./Data/Lg_Delphi/aboutpages.txt"), aboutBefore);
    writeBytes(kSettings, settingsBefore);
    editor = new TEditorForm(&dialogs);
    editor->show();
    editor->loadTopic(QStringLiteral("Pointers"), kLang, 3, 7);
  }
  ~Session() {
    delete editor.data();
    folder->clear();
    QDir::setCurrent(dir.path());
    folder.reset();
  }

  bool unchanged() const {
    return readBytes(kTopic7) == savedBytes(kOld) &&
           readBytes(kPageFolder + "/topics.txt") == topicsBefore &&
           readBytes(QStringLiteral("./Data/Lg_Delphi/aboutpages.txt")) == aboutBefore &&
           readBytes(kSettings) == settingsBefore &&
           entriesOf(kPageFolder) == QStringList({"topic7.txt", "topics.txt"}) &&
           entriesOf(QStringLiteral("./Data/UserSettings")) == QStringList{"options.txt"};
  }
};

}  // namespace

class EditorFaultsTest : public QObject {
  Q_OBJECT

 private slots:
  void saveKeepsTextWhenDiskFails_data();
  void saveKeepsTextWhenDiskFails();
  void lineWritesKeepFilesWhenDiskFails_data();
  void lineWritesKeepFilesWhenDiskFails();
};

void EditorFaultsTest::saveKeepsTextWhenDiskFails_data() {
  QTest::addColumn<int>("fault");
  QTest::newRow("full file system") << int(Fault::Full);
  QTest::newRow("read-only file system") << int(Fault::ReadOnly);
}

void EditorFaultsTest::saveKeepsTextWhenDiskFails() {
  QFETCH(int, fault);
  Session s;
  qInfo("fault made by %s", s.folder->mounted() ? "a small file system of its own"
                                                : "permissions or a file size limit");
  TEditorForm* e = s.editor;
  typeAtEnd(e, QString());
  QTest::keyClick(memo(e), Qt::Key_Return);
  QTest::keyClicks(memo(e), QStringLiteral("new words"));
  if (!s.folder->apply(Fault(fault))) QSKIP("this system cannot make that fault here");
  const QString reason = s.folder->reason(Fault(fault));

  s.platform.answers = {ui::Answer::Yes};
  for (const auto& save : QList<std::function<void()>>{
           [&] { QTest::mouseClick(button(e, "SaveBt"), Qt::LeftButton); },
           [&] { QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier); },
           [&] { e->close(); }}) {
    s.dialogs.ErrorFrame->hide();
    save();
    QVERIFY(s.dialogs.ErrorFrame->isVisible());
    QCOMPARE(noticeLine(s.dialogs, "errortext"), QStringLiteral("The topic could not be saved."));
    QCOMPARE(noticeLine(s.dialogs, "errortext2"), reason);
    QVERIFY(s.dialogs.ErrorFrame->findChild<QLabel*>("image_error")
                ->isVisibleTo(s.dialogs.ErrorFrame.get()));
    QVERIFY(e->isVisible());
    QVERIFY(dirty(e));
    QVERIFY(!label(e, "saved_text")->isVisible());
    QCOMPARE(e->memoText(), kOld + "\nnew words");
    QVERIFY(s.unchanged());
  }
  QVERIFY(s.platform.errors.isEmpty());

  // Space again: the same text saves.
  s.folder->clear();
  QTest::keyClick(memo(e), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(readBytes(kTopic7), savedBytes(kOld + "\nnew words"));
  QVERIFY(!dirty(e));
  QCOMPARE(entriesOf(kPageFolder), QStringList({"topic7.txt", "topics.txt"}));
}

void EditorFaultsTest::lineWritesKeepFilesWhenDiskFails_data() {
  QTest::addColumn<int>("fault");
  QTest::addColumn<QString>("write");
  for (const char* write : {"rename", "description", "setting"}) {
    QTest::addRow("full file system, %s", write) << int(Fault::Full) << QString(write);
    QTest::addRow("read-only file system, %s", write) << int(Fault::ReadOnly) << QString(write);
  }
}

void EditorFaultsTest::lineWritesKeepFilesWhenDiskFails() {
  QFETCH(int, fault);
  QFETCH(QString, write);
  Session s;
  TEditorForm* e = s.editor;
  if (!s.folder->apply(Fault(fault))) QSKIP("this system cannot make that fault here");
  const QString reason = s.folder->reason(Fault(fault));

  if (write == "rename") {
    TTopicEdit* dialog = s.dialogs.TopicEdit.get();
    QTest::mouseClick(label(e, "TitleInfo"), Qt::LeftButton);
    QTRY_VERIFY(dialog->isVisible());
    dialog->findChild<QLineEdit*>("name")->setText(QStringLiteral("Smart pointers"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->done());
    QVERIFY(s.dialogs.ErrorFrame->isVisible());
    QCOMPARE(noticeLine(s.dialogs, "errortext2"), QStringLiteral("Error Code: 103"));
    QVERIFY(s.platform.errors.isEmpty());
    QCOMPARE(label(e, "TitleInfo")->text(), QStringLiteral("Pointers"));
  } else if (write == "description") {
    TChangePA* dialog = s.dialogs.ChangePA.get();
    dialog->openFor(QStringLiteral("./Data/Lg_Delphi/aboutpages.txt"), 2, QString(), e);
    dialog->findChild<QLineEdit*>("Edit1")->setText(QStringLiteral("Memory"));
    QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QVERIFY(dialog->isVisible());
    QCOMPARE(s.platform.errors, QStringList{ui::reportText(reason)});
  } else {
    e->findChild<QSlider*>(QStringLiteral("TrackBar1"))->setValue(18);
    QCOMPARE(s.platform.errors, QStringList{ui::reportText(reason)});
  }
  QVERIFY(s.unchanged());
  QCOMPARE(e->memoText(), kOld);
}

QUILL_TEST_MAIN(EditorFaultsTest)
#include "tst_editor_faults.moc"
