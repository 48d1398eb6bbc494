// The data tree: its paths and the bootstrap that creates whatever is missing.
#include "store/datatree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

#include "store/bootstrap.h"
#include "store/ioerror.h"
#include "store/linefile.h"
#include "store/settings.h"
#include "store/theme.h"
#include "store/topicfile.h"
#include "store_test_util.h"
#include "support/filesizelimit.h"
#include "support/workdir.h"

using store_test::ioCodeOf;
using testing_support::readBytes;
using testing_support::WorkDir;
using testing_support::writeBytes;

namespace {

// Everything under `root`: for each entry its bytes (files), inode and change times, so
// that any rewrite, even with the same bytes, shows.
struct Entry {
  bool folder;
  QByteArray bytes;
  ino_t inode;
  long long mtimeNs;
  long long ctimeNs;
  bool operator==(const Entry&) const = default;
};
using Snapshot = std::map<QString, Entry>;

Snapshot snapshot(const QString& root) {
  Snapshot snap;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    struct stat st;
    EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
    const bool folder = S_ISDIR(st.st_mode);
    snap[path] = {folder, folder ? QByteArray() : readBytes(path), st.st_ino,
                  st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec,
                  st.st_ctim.tv_sec * 1000000000LL + st.st_ctim.tv_nsec};
  }
  return snap;
}

QByteArray repeatedLines(const QByteArray& line, int count) {
  QByteArray out;
  for (int i = 0; i < count; ++i) out += line + "\r\n";
  return out;
}

// The tree of one language as the bootstrap makes it.
void expectDefaultLanguage(const Snapshot& snap, const QString& key) {
  const QString lang = "./Data/" + key;
  const QByteArray topics = repeatedLines("click to create topic", 10);
  ASSERT_TRUE(snap.count(lang));
  EXPECT_TRUE(snap.at(lang).folder);
  EXPECT_EQ(snap.at(lang + "/aboutpages.txt").bytes,
            repeatedLines("click to edit page description", 15));
  EXPECT_EQ(snap.at(lang + "/pageicons.txt").bytes, repeatedLines("0", 15));
  for (int page = 1; page <= 15; ++page) {
    const QString folder = lang + '/' + QString::number(page);
    EXPECT_TRUE(snap.at(folder).folder);
    EXPECT_EQ(snap.at(folder + "/topics.txt").bytes, topics) << folder.toStdString();
  }
}

// Makes what is missing of the tree as a start does. Returns whether it made anything.
bool bootstrap() {
  return store::makeDataTree();
}

TEST(DataTree, PathsOfTheTree) {
  EXPECT_EQ(store::languageKeys(), QStringList({"Lg_Delphi", "Lg_C++", "Lg_GM2", "Lg_Python",
                                                "Lg_JS", "Lg_C#", "Lg_Java", "Lg_CSS", "Lg_Html"}));
  EXPECT_EQ(store::themePath(), QString("./Data/options.dat"));
  EXPECT_EQ(store::settingsPath(), QString("./Data/UserSettings/options.txt"));
  EXPECT_EQ(store::languageFolder("Lg_C#"), QString("./Data/Lg_C#/"));
  EXPECT_EQ(store::aboutPagesPath("Lg_JS"), QString("./Data/Lg_JS/aboutpages.txt"));
  EXPECT_EQ(store::topicsPath("Lg_Delphi", 15), QString("./Data/Lg_Delphi/15/topics.txt"));
  EXPECT_EQ(store::topicPath("Lg_Delphi", 3, 7), QString("./Data/Lg_Delphi/3/topic7.txt"));
  EXPECT_EQ(store::topicPath("Lg_Html", 12, 10), QString("./Data/Lg_Html/12/topic10.txt"));
  EXPECT_EQ(store::topicAddress("Lg_Delphi", 3, 7), QString("Lg_Delphi/3,7"));
}

// An editor keeps its topic's address; the rename dialog needs the page part (for the topic
// list) and the slot back from it.
TEST(DataTree, TopicAddressSplitsBack) {
  struct Case {
    const char* address;
    const char* lgandpage;  // nullptr: not an address
    int slot;
  };
  const Case cases[] = {
      {"Lg_Delphi/3,7", "Lg_Delphi/3", 7}, {"Lg_C++/15,10", "Lg_C++/15", 10},
      {"Lg_C#/1,1234", "Lg_C#/1", 123},  // up to three characters are the slot
      {"Lg_Delphi/3,x", nullptr, 0},       {"Lg_Delphi/3,", nullptr, 0},
      {"Lg_Delphi/3", nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    if (!c.lgandpage) {
      EXPECT_THROW(store::splitTopicAddress(c.address), store::ConvertError);
      continue;
    }
    const store::TopicAddress split = store::splitTopicAddress(c.address);
    EXPECT_EQ(split.lgandpage, QString(c.lgandpage));
    EXPECT_EQ(split.slot, c.slot);
  }
  // What topicAddress makes splits back into the page's topic list and the slot.
  const store::TopicAddress split = store::splitTopicAddress(store::topicAddress("Lg_Java", 12, 4));
  EXPECT_EQ(store::topicsPathFor(split.lgandpage), store::topicsPath("Lg_Java", 12));
  EXPECT_EQ(split.slot, 4);
}

TEST(Bootstrap, FirstRunCreatesExactlyTheTree) {
  WorkDir wd;
  QElapsedTimer timer;
  timer.start();
  EXPECT_TRUE(bootstrap());
  std::cout << "first-run bootstrap: " << timer.nsecsElapsed() / 1000 << " us\n";
  const Snapshot snap = snapshot("./Data");

  // The full list of names, built independently of the store's own paths.
  QStringList expected = {"./Data/UserSettings", "./Data/options.dat"};
  const char* keys[] = {"Lg_Delphi", "Lg_C++",  "Lg_GM2", "Lg_Python", "Lg_JS",
                        "Lg_C#",     "Lg_Java", "Lg_CSS", "Lg_Html"};
  for (const char* key : keys) {
    const QString lang = QString("./Data/") + key;
    expected << lang << lang + "/aboutpages.txt" << lang + "/pageicons.txt";
    for (int page = 1; page <= 15; ++page) {
      expected << lang + '/' + QString::number(page)
               << lang + '/' + QString::number(page) + "/topics.txt";
    }
  }
  expected.sort();
  QStringList names;
  for (const auto& [name, entry] : snap) names << name;
  names.sort();
  EXPECT_EQ(names, expected);  // 9 + 135 folders, 135 + 18 line files, no topic files
  EXPECT_EQ(names.size(), 2 + 9 * 3 + 9 * 15 * 2);

  for (const char* key : keys) expectDefaultLanguage(snap, key);
  EXPECT_TRUE(snap.at("./Data/UserSettings").folder);
  EXPECT_EQ(snap.at("./Data/options.dat").bytes, QByteArray("light\r\n"));
}

TEST(Bootstrap, SecondRunChangesNothing) {
  WorkDir wd;
  bootstrap();
  store::writetofile(store::themePath(), 1, "dark");
  store::ModifyLine(store::topicsPath("Lg_GM2", 4), 2, "Pointers");
  const Snapshot before = snapshot(".");
  EXPECT_FALSE(bootstrap());
  EXPECT_TRUE(before == snapshot("."));
}

TEST(Bootstrap, DeletedLanguageIsRecreatedAlone) {
  WorkDir wd;
  bootstrap();
  store::ModifyLine(store::topicsPath("Lg_Delphi", 2), 3, "Loops");
  store::ModifyLine(store::topicsPath("Lg_Python", 2), 3, "Lists");
  ASSERT_TRUE(QDir("./Data/Lg_Python").removeRecursively());
  Snapshot before = snapshot(".");
  EXPECT_TRUE(bootstrap());
  Snapshot after = snapshot(".");
  expectDefaultLanguage(after, "Lg_Python");
  for (auto it = after.begin(); it != after.end();) {
    it = it->first.startsWith("./Data/Lg_Python") ? after.erase(it) : std::next(it);
  }
  before.erase("./Data");  // the data root gained an entry, so its times changed
  after.erase("./Data");
  EXPECT_TRUE(before == after);  // the other languages and files are untouched
}

TEST(Bootstrap, ExistingLanguageFolderIsNotRepaired) {
  WorkDir wd;
  bootstrap();
  ASSERT_TRUE(QDir("./Data/Lg_JS/7").removeRecursively());
  ASSERT_TRUE(QFile::remove("./Data/Lg_JS/aboutpages.txt"));
  const Snapshot before = snapshot(".");
  bootstrap();
  EXPECT_TRUE(before == snapshot("."));
}

TEST(Bootstrap, DeletedThemeFileIsRecreatedAsLight) {
  WorkDir wd;
  bootstrap();
  ASSERT_TRUE(QFile::remove("./Data/options.dat"));
  store::Bootstrap tree("Lg_Delphi");
  tree.finishStart();
  EXPECT_FALSE(QFile::exists("./Data/options.dat"));  // made after the first page is shown
  tree.makeThemeFile();
  EXPECT_EQ(readBytes("./Data/options.dat"), QByteArray("light\r\n"));
  EXPECT_TRUE(tree.created());
}

// A first start makes the language shown first before the window shows it, the theme file
// next, and the other languages after it on the worker; a start that finds the first
// language there makes them all on the worker.
TEST(Bootstrap, PartsRunInTheOrderOfAStart) {
  struct Case {
    const char* name;
    QStringList before;   // language folders there before the start
    QStringList atStart;  // language folders there once the start has finished
  };
  const QStringList all = store::languageKeys();
  const Case cases[] = {
      {"first start", {}, {"Lg_Delphi"}},
      {"first language there", {"Lg_Delphi"}, {"Lg_Delphi"}},
      {"another language missing", all.mid(0, 4) + all.mid(5), all.mid(0, 4) + all.mid(5)},
  };
  const auto languagesThere = [&] {
    QStringList there;
    for (const QString& key : all)
      if (QFileInfo(store::languageFolder(key)).isDir()) there << key;
    return there;
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    for (const QString& key : c.before) QDir().mkpath("Data/" + key);
    int done = 0;
    {
      store::Bootstrap tree("Lg_Delphi");
      tree.finishStart();
      EXPECT_EQ(languagesThere(), c.atStart);
      EXPECT_TRUE(QDir("Data/UserSettings").exists());
      tree.makeThemeFile();
      EXPECT_TRUE(QFile::exists("Data/options.dat"));
      tree.scheduleRest([&] { ++done; });
      EXPECT_EQ(languagesThere(), c.atStart);  // the rest waits to be started
      tree.wait();
      EXPECT_EQ(done, 1);
      EXPECT_EQ(languagesThere(), all);
      EXPECT_FALSE(tree.takeError());
      EXPECT_TRUE(tree.created());
    }
    EXPECT_EQ(done, 1);
  }
}

// The first error ends the start and is thrown there, with nothing left to do on the worker;
// an error of the rest stops its languages and is given once, after the rest has flushed and
// swept what it could.
TEST(Bootstrap, AnErrorIsMetOnce) {
  const QString stale = "Data/UserSettings/.options.txt.~4242-1";  // left by a killed save
  {
    SCOPED_TRACE("in the start");
    WorkDir wd;
    writeBytes("Data", "not a folder");
    int done = 0;
    store::Bootstrap tree("Lg_Delphi");
    EXPECT_EQ(ioCodeOf([&] { tree.finishStart(); }), store::kAlreadyExists);
    tree.scheduleRest([&] { ++done; });
    tree.wait();
    EXPECT_EQ(done, 0);
    EXPECT_FALSE(tree.takeError());
    EXPECT_EQ(readBytes("Data"), QByteArray("not a folder"));
  }
  {
    SCOPED_TRACE("in the rest");
    WorkDir wd;
    QDir().mkpath("Data/UserSettings");
    writeBytes(stale, "half");
    writeBytes("Data/Lg_Java", "x");
    int done = 0;
    store::Bootstrap tree("Lg_Delphi");
    tree.finishStart();
    tree.makeThemeFile();
    tree.scheduleRest([&] { ++done; });
    tree.wait();
    EXPECT_EQ(done, 1);
    const std::exception_ptr error = tree.takeError();
    EXPECT_EQ(ioCodeOf([&] { std::rethrow_exception(error); }), store::kAlreadyExists);
    EXPECT_FALSE(tree.takeError());
    EXPECT_TRUE(QDir("Data/Lg_C#/15").exists());  // the languages before it were made
    EXPECT_FALSE(QFile::exists("Data/Lg_CSS"));   // the rest stopped there
    EXPECT_FALSE(QFile::exists(stale));
  }
}

TEST(Bootstrap, FailuresStopWithAnError) {
  const auto tree = [] { store::makeDataTree(); };
  {
    SCOPED_TRACE("a file named Data");
    WorkDir wd;
    writeBytes("Data", "not a folder");
    EXPECT_EQ(ioCodeOf(tree), store::kAlreadyExists);
    EXPECT_EQ(store::IoError(store::kAlreadyExists).message(), QString("I/O error 183"));
    EXPECT_EQ(readBytes("Data"), QByteArray("not a folder"));
  }
  {
    SCOPED_TRACE("a file where a language folder belongs");
    WorkDir wd;
    QDir().mkpath("Data/UserSettings");
    writeBytes("Data/Lg_C++", "x");
    EXPECT_EQ(ioCodeOf(tree), store::kAlreadyExists);
    EXPECT_TRUE(QDir("Data/Lg_Delphi/15").exists());  // the languages before it were made
    EXPECT_FALSE(QFile::exists("Data/Lg_GM2"));       // the bootstrap stopped there
  }
  {
    SCOPED_TRACE("a folder where the theme file belongs");
    WorkDir wd;
    QDir().mkpath("Data/options.dat");
    EXPECT_EQ(ioCodeOf([] { store::bootstrapThemeFile(); }), store::kAccessDenied);
  }
  {
    SCOPED_TRACE("a read-only working directory");
    WorkDir wd;
    ::chmod(QFile::encodeName(wd.path()).constData(), 0555);
    const int code = store_test::ioCodeWithoutRoot(tree);
    ::chmod(QFile::encodeName(wd.path()).constData(), 0755);
    EXPECT_EQ(code, store::kAccessDenied);
    EXPECT_FALSE(QFile::exists("Data"));
  }
}

// On a disk that fills up, every file the program makes is whole or not there: the failed
// creation leaves nothing behind, so the next attempt makes it properly.
TEST(Bootstrap, FullDiskLeavesNoPartFile) {
  const std::vector<std::pair<const char*, std::function<void()>>> creations = {
      {"theme file", [] { store::bootstrapThemeFile(); }},
      {"theme named at start-up", [] { store::writeTheme(store::themePath(), "light"); }},
      {"settings file", [] { store::writeSettings(store::settingsPath(), {}); }},
      {"language folder", [] { store::createstruture(store::languageFolder("Lg_Java")); }},
      {"new topic", [] { store::saveTopic(store::topicPath("Lg_Delphi", 2, 3), "notes"); }},
  };
  // What is in the tree: names and bytes (a folder's times change with any attempt).
  const auto contents = [] {
    std::map<QString, QByteArray> out;
    for (const auto& [path, entry] : snapshot("./Data")) out[path] = entry.bytes;
    return out;
  };
  for (const auto& [name, create] : creations) {
    SCOPED_TRACE(name);
    WorkDir wd;
    store::bootstrapRoots();
    QDir().mkpath("Data/Lg_Delphi/2");
    const auto before = contents();
    int code = 0;
    {
      testing_support::FileSizeLimit full(3);
      ASSERT_TRUE(full.holds());
      code = ioCodeOf(create);
    }
    EXPECT_EQ(code, store::codeFromErrno(EFBIG));
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(ioCodeOf(create), 0);
  }
}

// What an interrupted start left of a language being made is removed at the next start,
// whichever program has its process id by now, unless a live Quillnote holds its lock; the
// language itself is made whole either way.
TEST(Bootstrap, LeftoversOfInterruptedStartsAreRemoved) {
  struct Case {
    const char* name;
    QString folder;  // in Data
    bool lockFile;   // the ".making" file inside it is there
    bool locked;     // and its lock is held, as by a live Quillnote making the language
    bool treeFirst;  // every language exists already
  };
  const QString runningProcess = QString::number(::getppid());
  const std::vector<Case> cases = {
      {"its process is gone", ".Lg_Python.new-999999999", false, false, false},
      {"its process id is another program's now", ".Lg_CSS.new-" + runningProcess, true, false,
       false},
      {"the language exists already", ".Lg_JS.new-" + runningProcess, false, false, true},
      {"a live Quillnote is making it", ".Lg_Html.new-" + QString::number(::getpid()), true, true,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    if (c.treeFirst) bootstrap();
    const QString folder = "Data/" + c.folder;
    QDir().mkpath(folder + "/3");
    writeBytes(folder + "/3/topics.txt", "half\r\n");
    int held = -1;
    if (c.lockFile) {
      held = ::open(QFile::encodeName(folder + "/.making").constData(), O_RDWR | O_CREAT, 0666);
      ASSERT_GE(held, 0);
      if (c.locked) {
        ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
      }
    }
    bootstrap();
    const QString key = c.folder.mid(1, c.folder.indexOf(".new-") - 1);
    const Snapshot snap = snapshot("./Data");
    expectDefaultLanguage(snap, key);
    EXPECT_FALSE(snap.count("./Data/" + key + "/.making"));
    EXPECT_EQ(QFileInfo::exists(folder + "/3/topics.txt"), c.locked);
    if (held >= 0) ::close(held);
  }
}

// A language folder appears whole or not at all, and only the program's own leftovers are
// ever removed.
TEST(Bootstrap, LanguageFolderAppearsWhole) {
  {
    SCOPED_TRACE("what only looks like a leftover");
    WorkDir wd;
    QDir().mkpath("Data/UserSettings");
    QDir().mkpath("elsewhere");
    writeBytes("elsewhere/notes.txt", "mine");
    ASSERT_EQ(::symlink("../elsewhere", "Data/.Lg_GM2.new-7"), 0);  // a link is not followed
    QDir().mkpath("Data/.Lg_Rust.new-1/1");                         // no language of ours
    writeBytes("Data/.Lg_C#.new-5", "a file");                      // not a folder
    const QStringList before =
        QDir("Data").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    store::bootstrapRoots();
    EXPECT_EQ(QDir("Data").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              before);
    EXPECT_EQ(readBytes("elsewhere/notes.txt"), QByteArray("mine"));
    EXPECT_EQ(QDir("elsewhere").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"notes.txt"}));
  }
  {
    SCOPED_TRACE("a folder that appeared meanwhile");
    WorkDir wd;
    QDir().mkpath("Data/Lg_JS/1");
    writeBytes("Data/Lg_JS/1/topic1.txt", "mine");
    EXPECT_EQ(ioCodeOf([] { store::createstruture(store::languageFolder("Lg_JS")); }),
              store::kAlreadyExists);
    EXPECT_EQ(readBytes("Data/Lg_JS/1/topic1.txt"), QByteArray("mine"));
    EXPECT_EQ(QDir("Data").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList({"Lg_JS"}));
  }
}

TEST(Bootstrap, CreatestrutureFillsOneFolder) {
  WorkDir wd;
  QDir().mkdir("Data");
  store::createstruture("./Data/Lg_Java/");
  expectDefaultLanguage(snapshot("./Data"), "Lg_Java");
  EXPECT_EQ(ioCodeOf([] { store::createstruture("./Data/Lg_Java/"); }), store::kAlreadyExists);
}

}  // namespace
