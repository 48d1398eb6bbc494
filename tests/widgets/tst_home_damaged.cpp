// Data trees damaged or edited by hand: binary garbage, a 10 MB line, files where folders
// belong and the reverse, missing folders and files, empty files, lone CR, byte 1A,
// UTF-16 files, settings files that do not read. The program starts, shows what it can,
// reports only what a failed step reports, writes nothing it was not asked to write, and
// keeps running through every language and page and an opened topic.
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QSlider>
#include <QtTest>
#include <functional>
#include <memory>
#include <optional>

#include "dialogs/Dialogs.h"
#include "dialogs/Error_u.h"
#include "editor/Editor_u.h"
#include "home/Quillnote_u.h"
#include "store/bootstrap.h"
#include "store/datatree.h"
#include "store/topicfile.h"
#include "support/fakeplatform.h"
#include "support/testmain.h"
#include "support/workdir.h"

using testing_support::writeBytes;

namespace {

const QString kTopics = QStringLiteral("Data/Lg_Delphi/1/topics.txt");
const QString kAbout = QStringLiteral("Data/Lg_Delphi/aboutpages.txt");
const QString kTopic1 = QStringLiteral("Data/Lg_Delphi/1/topic1.txt");
const QString kSettings = QStringLiteral("Data/UserSettings/options.txt");

// Every entry under the working directory: its kind and, for a file, a digest of its bytes
// (a named pipe or a link to a device is not read).
QMap<QString, QString> snapshot() {
  QMap<QString, QString> out;
  QDirIterator it(QStringLiteral("."),
                  QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QFileInfo info = it.fileInfo();
    struct stat st;
    ::lstat(QFile::encodeName(path).constData(), &st);
    if (S_ISLNK(st.st_mode)) {
      out.insert(path, QStringLiteral("link to ") + info.symLinkTarget());
    } else if (S_ISDIR(st.st_mode)) {
      out.insert(path, QStringLiteral("folder"));
    } else if (!S_ISREG(st.st_mode)) {
      out.insert(path, QStringLiteral("special"));
    } else {
      QFile f(path);
      f.open(QIODevice::ReadOnly);
      QCryptographicHash hash(QCryptographicHash::Sha1);
      hash.addData(&f);
      out.insert(path,
                 QString::number(info.size()) + u' ' + QString::fromLatin1(hash.result().toHex()));
    }
  }
  return out;
}

QByteArray garbage(int size, int seed) {
  QByteArray out(size, '\0');
  quint32 x = quint32(seed) * 2654435761u + 1;
  for (char& c : out) {
    x = x * 1103515245u + 12345u;
    c = char(x >> 24);
  }
  return out;
}

QByteArray utf16le(const QString& text) {
  QByteArray out("\xFF\xFE");
  for (QChar c : text) {
    out += char(c.unicode() & 0xFF);
    out += char(c.unicode() >> 8);
  }
  return out;
}

void replaceByFolder(const QString& path) {
  QFile::remove(path);
  QDir().mkpath(path);
}

void replaceByFile(const QString& path) {
  QDir(path).removeRecursively();
  writeBytes(path, "not a folder\r\n");
}

QStringList repeated(const QString& text, int count) {
  QStringList out;
  for (int i = 0; i < count; ++i) out << text;
  return out;
}

QStringList padded(QStringList lines) {
  while (lines.size() < 10) lines << QString();
  return lines;
}

const QString kPlaceholder = QStringLiteral("click to create topic");
const QStringList kFresh = repeated(kPlaceholder, 10);
const QStringList kNoList = repeated(QStringLiteral("click to create"), 10);

// One damaged tree and what the program shows and reports with it.
struct Case {
  Case(const char* n, std::function<void()> d) : name(n), damage(std::move(d)) {}
  Case&& shows(const QStringList& names) && {
    captions = names;
    return std::move(*this);
  }
  // Topic names of page 1 once it is selected again (the start-up selection failed).
  Case&& thenShows(const QStringList& names) && {
    visitedCaptions = names;
    return std::move(*this);
  }
  Case&& describes(const QString& text) && {
    about = text;
    return std::move(*this);
  }
  Case&& reports(const QStringList& messages) && {
    errors = messages;
    return std::move(*this);
  }
  Case&& settingsDoNotRead() && {
    settingsNotice = true;
    return std::move(*this);
  }
  Case&& opens(const QString& text) && {
    topicText = text;
    return std::move(*this);
  }
  // The topic file exists and does not read: the editor opens empty and says so.
  Case&& topicDoesNotRead() && {
    topicText = QString();
    topicNotice = true;
    return std::move(*this);
  }
  Case&& recreates(const QString& folder) && {
    createdUnder = folder;
    return std::move(*this);
  }

  const char* name;
  std::function<void()> damage;
  std::optional<QStringList> captions;  // topic names on page 1 of Lg_Delphi; none: any
  std::optional<QStringList> visitedCaptions;
  std::optional<QString> about;      // description of page 1; none: any
  QStringList errors;                // standard error reports, in order
  bool settingsNotice = false;       // opening a topic tells that the settings did not read
  bool topicNotice = false;          // opening a topic tells that it did not read
  std::optional<QString> topicText;  // the text an opened topic 1 shows; none: any
  QString createdUnder;              // a folder the start-up creates anew
};

const QString kTenMegabytes(10 * 1024 * 1024, u'x');

const std::vector<Case>& cases() {
  static const std::vector<Case> all = [] {
    std::vector<Case> v;
    v.push_back(
        Case("binary garbage as topic list", [] { writeBytes(kTopics, garbage(8192, 1)); }));
    v.push_back(Case("binary garbage as descriptions", [] {
                  writeBytes(kAbout, garbage(8192, 2));
                }).shows(kFresh));
    v.push_back(Case("binary garbage as topic", [] { writeBytes(kTopic1, garbage(8192, 3)); })
                    .shows(kFresh)
                    .opens(store::decodeTopic(garbage(8192, 3))));
    v.push_back(Case("binary garbage as settings", [] {
                  writeBytes(kSettings, garbage(512, 4));
                }).settingsDoNotRead());
    v.push_back(Case("10 MB line in topic list", [] {
                  writeBytes(kTopics, kTenMegabytes.toLatin1() + "\r\nsecond\r\n");
                }).shows(padded({kTenMegabytes, "second"})));
    v.push_back(Case("10 MB line in descriptions",
                     [] { writeBytes(kAbout, kTenMegabytes.toLatin1() + "\r\nsecond\r\n"); })
                    .shows(kFresh)
                    .describes(kTenMegabytes));
    v.push_back(Case("10 MB line as topic", [] {
                  writeBytes(kTopic1, kTenMegabytes.toLatin1());
                }).opens(kTenMegabytes));
    v.push_back(Case("10 MB font name in settings", [] {
      writeBytes(kSettings, "15\r\n" + kTenMegabytes.toLatin1() + "\r\n0\r\n0\r\n");
    }));
    // The bootstrap stops at the folder it cannot make and selects no page; the theme
    // applied after start-up reads no theme file and makes none.
    v.push_back(Case("file where the data root belongs", [] { replaceByFile("Data"); })
                    .shows(kNoList)
                    .reports({"I/O error 183."}));
    v.push_back(
        Case("file where the settings folder belongs", [] { replaceByFile("Data/UserSettings"); })
            .shows(kNoList)
            .thenShows(kFresh)
            .reports({"I/O error 183."}));
    // The languages after the first are made beside the window: one that cannot be made is
    // reported, and the first page shows all the same.
    v.push_back(Case("file where a language folder belongs", [] { replaceByFile("Data/Lg_C++"); })
                    .shows(kFresh)
                    .reports({"I/O error 183."}));
    v.push_back(Case("file where a page folder belongs", [] {
                  replaceByFile("Data/Lg_Delphi/1");
                }).shows(kNoList));
    v.push_back(Case("file where another page folder belongs", [] {
                  replaceByFile("Data/Lg_Java/7");
                }).shows(kFresh));
    v.push_back(Case("folder where the topic list belongs", [] {
                  replaceByFolder(kTopics);
                }).shows(kNoList));
    v.push_back(Case("folder where the descriptions belong", [] { replaceByFolder(kAbout); })
                    .shows(kFresh)
                    .describes(""));
    v.push_back(
        Case("folder where a topic belongs", [] { replaceByFolder(kTopic1); }).topicDoesNotRead());
    v.push_back(Case("folder where the settings belong", [] {
                  replaceByFolder(kSettings);
                }).settingsDoNotRead());
    // Nothing waits on a named pipe or reads a device without end.
    v.push_back(Case("named pipe where a topic belongs", [] {
                  QFile::remove(kTopic1);
                  ::mkfifo(QFile::encodeName(kTopic1).constData(), 0644);
                }).topicDoesNotRead());
    v.push_back(Case("settings linked to an endless device", [] {
                  QFile::remove(kSettings);
                  QFile::link(QStringLiteral("/dev/zero"), kSettings);
                }).settingsDoNotRead());
    v.push_back(Case("missing language folder", [] { QDir("Data/Lg_Delphi").removeRecursively(); })
                    .shows(kFresh)
                    .describes("click to edit page description")
                    .recreates("./Data/Lg_Delphi"));
    v.push_back(
        Case("missing other language folder", [] { QDir("Data/Lg_Python").removeRecursively(); })
            .shows(kFresh)
            .recreates("./Data/Lg_Python"));
    v.push_back(Case("missing page folder", [] {
                  QDir("Data/Lg_Delphi/1").removeRecursively();
                }).shows(kNoList));
    v.push_back(Case("missing description file", [] { QFile::remove(kAbout); }).describes(""));
    v.push_back(Case("empty topic list", [] { writeBytes(kTopics, ""); }).shows(padded({})));
    v.push_back(Case("empty descriptions", [] { writeBytes(kAbout, ""); }).describes(""));
    v.push_back(Case("empty topic", [] { writeBytes(kTopic1, ""); }).opens(""));
    v.push_back(Case("empty settings", [] { writeBytes(kSettings, ""); }).settingsDoNotRead());
    v.push_back(Case("lone CR", [] {
                  writeBytes(kTopics, "one\rtwo\r\nthree\r");
                }).shows(padded({"onetwo", "three"})));
    v.push_back(Case("byte 1A", [] {
                  writeBytes(kTopics, "one\x1atwo\r\n\x1a\x1athree");
                }).shows(padded({"one", "two", "", "", "three"})));
    // The line reader does not look for a byte-order mark: each byte shows as a character,
    // and the CRs, followed by a zero byte instead of LF, are dropped.
    v.push_back(Case("UTF-16 topic list",
                     [] { writeBytes(kTopics, utf16le(QStringLiteral("Alpha\r\nBeta\r\n"))); })
                    .shows(padded({QString::fromLatin1(QByteArray("\xFF\xFE"
                                                                  "A\0l\0p\0h\0a\0\0",
                                                                  13)),
                                   QString::fromLatin1(QByteArray("\0B\0e\0t\0a\0\0", 10)),
                                   QString(QChar(0))})));
    v.push_back(Case("UTF-16 topic", [] {
                  writeBytes(kTopic1, utf16le(QStringLiteral("Alpha\r\nBeta")));
                }).opens("Alpha\nBeta"));
    v.push_back(Case("UTF-16 settings", [] {
                  writeBytes(kSettings, utf16le(QStringLiteral("20\r\nArial\r\n0\r\n0\r\n")));
                }).settingsDoNotRead());
    return v;
  }();
  return all;
}

TEditorForm* openedEditor() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* e = qobject_cast<TEditorForm*>(w); e && e->isVisible()) return e;
  }
  return nullptr;
}

QStringList captions(const TQuillnoteForm& form) {
  QStringList out;
  for (int k = 1; k <= store::kSlots; ++k) out << form.topicCaption(k);
  return out;
}

// A line of the notice the message window shows.
QString noticeLine(const Dialogs& dialogs, const char* name) {
  return dialogs.ErrorFrame->findChild<QLabel*>(QString::fromLatin1(name))->text();
}

}  // namespace

class HomeDamagedTest : public QObject {
  Q_OBJECT

 private slots:
  void damagedTree_data();
  void damagedTree();
};

void HomeDamagedTest::damagedTree_data() {
  QTest::addColumn<int>("row");
  for (size_t i = 0; i < cases().size(); ++i) QTest::newRow(cases()[i].name) << int(i);
}

void HomeDamagedTest::damagedTree() {
  QFETCH(int, row);
  const Case& c = cases()[size_t(row)];
  testing_support::WorkDir dir;
  store::makeDataTree();
  writeBytes(kSettings, "15\r\nCalibri\r\n0\r\n0\r\n");
  c.damage();
  const QMap<QString, QString> before = snapshot();

  testing_support::FakePlatform platform;
  QElapsedTimer clock;
  clock.start();
  auto form = std::make_unique<TQuillnoteForm>();
  Dialogs dialogs;
  form->setDialogs(&dialogs);
  form->show();
  int reloads = 0;
  connect(form->findChild<QTimer*>("AutoReload"), &QTimer::timeout, form.get(), [&] { ++reloads; });
  QTRY_VERIFY(reloads >= 2);  // the half-second reload ran, and runs on
  qInfo("started and reloaded twice in %lld ms", clock.elapsed());

  if (c.captions) QCOMPARE(captions(*form), *c.captions);
  if (c.about) QCOMPARE(form->findChild<QLabel*>("AboutPage")->text(), *c.about);

  // Every language and every page, then back to the first.
  for (const QString& key : store::languageKeys()) {
    form->setlanguage(key);
    for (int page = 1; page <= store::kPages; ++page) form->SetPage(page);
  }
  form->setlanguage(QStringLiteral("Lg_Delphi"));
  form->SetPage(1);
  if (c.visitedCaptions || c.captions)
    QCOMPARE(captions(*form), c.visitedCaptions.value_or(*c.captions));

  // Topic 1 in an editor.
  QTest::mouseClick(form->findChild<QPushButton*>("Topic_1"), Qt::LeftButton);
  QPointer<TEditorForm> editor = openedEditor();
  QVERIFY(editor);
  if (c.topicText) QCOMPARE(editor->memoText(), *c.topicText);
  QVERIFY(!editor->unsaved());
  QCOMPARE(dialogs.ErrorFrame->isVisible(), c.settingsNotice || c.topicNotice);
  if (c.topicNotice) {
    QCOMPARE(noticeLine(dialogs, "errortext"), QStringLiteral("The topic could not be read."));
    QCOMPARE(noticeLine(dialogs, "errortext2"), QStringLiteral("File access denied"));
  } else if (c.settingsNotice) {
    QCOMPARE(noticeLine(dialogs, "errortext"), QStringLiteral("A Error has occured reading"));
    QCOMPARE(noticeLine(dialogs, "errortext2"), QStringLiteral("the user settings."));
  }
  QVERIFY(editor->close());
  QTRY_VERIFY(editor.isNull());

  QCOMPARE(platform.errors, c.errors);
  form.reset();

  // Nothing written but what the start-up creates: a missing language folder.
  QMap<QString, QString> after = snapshot();
  if (!c.createdUnder.isEmpty()) {
    for (auto it = after.begin(); it != after.end();) {
      it = it.key().startsWith(c.createdUnder) && !before.contains(it.key()) ? after.erase(it)
                                                                             : std::next(it);
    }
    QVERIFY(QFileInfo(c.createdUnder + "/15/topics.txt").isFile());
  }
  QCOMPARE(after, before);
}

QUILL_TEST_MAIN(HomeDamagedTest)
#include "tst_home_damaged.moc"
