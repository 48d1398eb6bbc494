// Line files: the line reader, the whole-file reader, line replacement and atomic writes.
#include "store/linefile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <csignal>
#include <functional>
#include <string>
#include <vector>

#include "store/datatree.h"
#include "store/ioerror.h"
#include "store/settings.h"
#include "store/topicfile.h"
#include "store_test_util.h"
#include "support/workdir.h"

using store_test::ioCodeOf;
using store_test::ioCodeWithoutRoot;
using testing_support::readBytes;
using testing_support::WorkDir;
using testing_support::writeBytes;

namespace {

// Names of the entries of `folder`, hidden ones included (a left-over temporary file shows).
QStringList entriesOf(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

struct ReaderCase {
  const char* name;
  QByteArray bytes;
  QStringList lines;  // every line up to the end of the data
};

TEST(LineReader, SplitsLinesAndReadsEmptyPastTheEnd) {
  const std::vector<ReaderCase> cases = {
      {"crlf", "one\r\ntwo\r\n", {"one", "two"}},
      {"lone lf", "one\ntwo\nthree", {"one", "two", "three"}},
      {"lone cr is dropped", "a\rb\r\nc\r", {"ab", "c"}},
      {"cr before crlf", "a\r\r\nb", {"a", "b"}},
      {"1A ends a line",
       "a\x1A"
       "b\r\nc",
       {"a", "b", "c"}},
      {"empty lines", "\r\n\n\r\nx", {"", "", "", "x"}},
      {"utf-8 text",
       "Gr\xC3\xB6\xC3\x9F"
       "e\r\n",
       {QString::fromUtf8("Größe")}},
      {"8-bit line keeps its characters",
       "caf\xE9\r\nok",
       {QString::fromUtf8("caf\xC3\xA9"), "ok"}},
      {"byte-order mark is text", "\xEF\xBB\xBFx\r\n", {QString::fromUtf8("\xEF\xBB\xBFx")}},
      // The file's own mark is skipped; on a later line (a topic name or a font name that
      // begins with U+FEFF, as the line writer wrote it) it is the line's first character.
      {"mark on a later line is kept",
       "\xEF\xBB\xBFx\r\n\xEF\xBB\xBFy\n\xEF\xBB\xBF\xE9z",
       {"x", QChar(0xFEFF) + QString("y"), QChar(0xFEFF) + QString::fromUtf8("\xC3\xA9z")}},
      {"mark then a lone cr", "\xEF\xBB\xBF\ra\n", {"a"}},
      {"nul byte kept", QByteArray("a\0b\r\n", 5), {QString::fromUtf8(QByteArray("a\0b", 3))}},
      {"empty file", "", {}},
  };
  for (const ReaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    EXPECT_EQ(store::splitLines(c.bytes), c.lines);
    writeBytes("f.txt", c.bytes);
    store::LineReader reader("f.txt");
    for (const QString& line : c.lines) EXPECT_EQ(reader.next(), line);
    EXPECT_TRUE(reader.atEnd());
    for (int i = 0; i < 3; ++i) EXPECT_EQ(reader.next(), QString());
  }
}

TEST(LineReader, ReadsTenMegabyteLine) {
  WorkDir wd;
  QByteArray big(10 * 1024 * 1024, 'x');
  writeBytes("big.txt", big + "\r\nnext");
  store::LineReader reader("big.txt");
  EXPECT_EQ(reader.next().size(), big.size());
  EXPECT_EQ(reader.next(), QString("next"));
  EXPECT_EQ(reader.next(), QString());
}

TEST(LineReader, OpeningFailsWithCode) {
  WorkDir wd;
  QDir().mkdir("folder");
  EXPECT_EQ(ioCodeOf([] { store::LineReader r("missing.txt"); }), store::kFileNotFound);
  EXPECT_EQ(ioCodeOf([] { store::LineReader r("folder"); }), store::kAccessDenied);
  EXPECT_EQ(ioCodeOf([] { store::readLineFile("missing.txt", 10); }), store::kFileNotFound);
}

TEST(LineReader, ReadLineFilePadsShortFile) {
  WorkDir wd;
  writeBytes("t.txt", "a\r\nb\r\n");
  EXPECT_EQ(store::readLineFile("t.txt", 4), QStringList({"a", "b", "", ""}));
}

struct WholeCase {
  const char* name;
  QByteArray bytes;
  QStringList lines;
};

TEST(WholeFileReader, DetectsByteOrderMarksAndSplits) {
  const QString umlaut = QString::fromUtf8("\xC3\xBC");  // ü
  const std::vector<WholeCase> cases = {
      {"utf-8 bom", "\xEF\xBB\xBF\xC3\xBC\r\nb", {umlaut, "b"}},
      {"utf-16 le bom",
       QByteArray("\xFF\xFE\xFC\x00\r\x00\n\x00"
                  "b\x00",
                  10),
       {umlaut, "b"}},
      {"utf-16 be bom",
       QByteArray("\xFE\xFF\x00\xFC\x00\n\x00"
                  "b",
                  8),
       {umlaut, "b"}},
      {"no bom is utf-8", "\xC3\xBC\nb\n", {umlaut, "b"}},
      {"lone cr ends a line", "a\rb\r\nc", {"a", "b", "c"}},
      {"final break adds nothing", "a\r\n", {"a"}},
      {"empty last line kept", "a\r\n\r\n", {"a", ""}},
      {"empty file", "", {}},
      {"bom only", "\xEF\xBB\xBF", {}},
  };
  for (const WholeCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(store::decodeWholeFile(c.bytes), c.lines);
  }
  WorkDir wd;
  EXPECT_EQ(ioCodeOf([] { store::readWholeFile("missing.txt"); }), store::kFileNotFound);
}

TEST(WholeFileWriter, WritesUtf8WithCrLfAfterEveryLine) {
  WorkDir wd;
  store::writeWholeFile("w.txt", {QString::fromUtf8("Größe"), "", "x"});
  EXPECT_EQ(readBytes("w.txt"), QByteArray("Gr\xC3\xB6\xC3\x9F"
                                           "e\r\n\r\nx\r\n"));
  store::writeWholeFile("w.txt", {});
  EXPECT_EQ(readBytes("w.txt"), QByteArray());
}

TEST(LineWriter, WritesEachLineWithCrLfAndTruncates) {
  WorkDir wd;
  writeBytes("l.txt", "a much longer old content\r\nsecond\r\nthird\r\n");
  store::writeLines("l.txt", {"light"});
  EXPECT_EQ(readBytes("l.txt"), QByteArray("light\r\n"));
  store::writeLines("l.txt", {"a\r\nb", "c"});  // a break inside a line cannot add a line
  EXPECT_EQ(readBytes("l.txt"), QByteArray("a b\r\nc\r\n"));
}

// The writer for files of a folder that is put in place whole: it never replaces anything.
TEST(LineWriter, NewFileOnlyWhereNothingIs) {
  WorkDir wd;
  store::writeNewLines("n.txt", {"one", "two\nlines"});
  EXPECT_EQ(readBytes("n.txt"), QByteArray("one\r\ntwo lines\r\n"));
  EXPECT_EQ(ioCodeOf([] { store::writeNewLines("n.txt", {"other"}); }), store::kAlreadyExists);
  EXPECT_EQ(readBytes("n.txt"), QByteArray("one\r\ntwo lines\r\n"));
  EXPECT_EQ(ioCodeOf([] { store::writeNewLines("missing/n.txt", {"x"}); }), store::kFileNotFound);
}

TEST(OneLine, ReplacesEachBreakWithOneSpace) {
  EXPECT_EQ(store::oneLine("one\r\ntwo\nthree\rfour"), QString("one two three four"));
  EXPECT_EQ(store::oneLine("\r\n\r\n"), QString("  "));
  EXPECT_EQ(store::oneLine("plain"), QString("plain"));
  // 1A ends a line for the line reader, so a name holding it would shift the names after it.
  EXPECT_EQ(store::oneLine("a\x1a"
                           "b"),
            QString("a b"));
}

TEST(ReadFromFile, NeverThrows) {
  WorkDir wd;
  writeBytes("three.txt", "a\r\nb\r\nc\r\n");
  QDir().mkdir("folder");
  EXPECT_EQ(store::readfromfile("missing.txt", 1), QString());
  EXPECT_EQ(store::readfromfile("three.txt", 5), QString());
  EXPECT_EQ(store::readfromfile("three.txt", 2), QString("b"));
  EXPECT_EQ(store::readfromfile("three.txt", 0), QString());
  EXPECT_EQ(store::readfromfile("folder", 1), QString());
}

enum class Op { WriteToFile, ModifyLine };

struct ReplaceCase {
  const char* name;
  std::optional<QByteArray> before;  // nothing: the file does not exist
  Op op;
  int index;
  QString text;
  QByteArray after;
};

TEST(LineReplacement, ChangesOneLineAndWritesCrLfUtf8) {
  QByteArray fifteen, fifteenAfter;
  for (int i = 1; i <= 15; ++i) {
    fifteen += "line " + QByteArray::number(i) + "\r\n";
    fifteenAfter += (i == 7 ? QByteArray("renamed") : "line " + QByteArray::number(i)) + "\r\n";
  }
  const std::vector<ReplaceCase> cases = {
      {"theme light to dark", "light\r\n", Op::WriteToFile, 1, "dark", "dark\r\n"},
      {"missing file gets one line", std::nullopt, Op::WriteToFile, 5, "dark", "dark\r\n"},
      {"empty file", "", Op::WriteToFile, 1, "light", "light\r\n"},
      {"empty line kept as file content", "\r\n", Op::WriteToFile, 1, "dark", "dark\r\n"},
      {"15 lines stay 15", fifteen, Op::ModifyLine, 6, "renamed", fifteenAfter},
      {"lf lines keep their ends", "a\nb\nc\n", Op::ModifyLine, 1, "X", "a\nX\r\nc\n"},
      {"no final break", "a\r\nb", Op::ModifyLine, 1, "X", "a\r\nX\r\n"},
      {"index past the end extends", "a\r\n", Op::ModifyLine, 3, "x", "a\r\n\r\n\r\nx\r\n"},
      {"writetofile past the end", "a\r\nb\r\n", Op::WriteToFile, 4, "d", "a\r\nb\r\n\r\nd\r\n"},
      {"index into empty file", "", Op::ModifyLine, 1, "x", "\r\nx\r\n"},
      {"breaks in new text", "a\r\nb\r\n", Op::ModifyLine, 0, "one\r\ntwo\nthree\rfour",
       "one two three four\r\nb\r\n"},
      {"utf-16 file rewritten as utf-8",
       QByteArray("\xFF\xFE"
                  "a\0\r\0\n\0b\0",
                  10),
       Op::ModifyLine, 1, QString::fromUtf8("\xC3\xBC"), "a\r\n\xC3\xBC\r\n"},
      {"utf-8 bom dropped", "\xEF\xBB\xBFold\r\n", Op::WriteToFile, 1, "new", "new\r\n"},
      {"8-bit line of another slot keeps its bytes", "caf\xE9\r\nb\r\n", Op::ModifyLine, 1, "X",
       "caf\xE9\r\nX\r\n"},
      // A list edited by hand: names in UTF-8, in an 8-bit code page and in both, each line
      // with its own end, the last one without. Only the line replaced changes.
      {"mixed code pages and line ends",
       "Caf\xC3\xA9 \xE2\x9C\x93\r\n"
       "na\xEFve\n"
       "old\r\n"
       "caf\xE9 \xE2\x9C\x93\r"
       "last",
       Op::ModifyLine, 2,
       QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                         "e"),
       "Caf\xC3\xA9 \xE2\x9C\x93\r\n"
       "na\xEFve\n"
       "Gr\xC3\xB6\xC3\x9F"
       "e\r\n"
       "caf\xE9 \xE2\x9C\x93\r"
       "last"},
      {"1A byte of another line kept",
       "a\x1A"
       "b\r\nc\r\n",
       Op::ModifyLine, 1, "X",
       "a\x1A"
       "b\r\nX\r\n"},
      {"utf-8 bom dropped, 8-bit line kept", "\xEF\xBB\xBF\xE9\r\nb", Op::WriteToFile, 2, "X",
       "\xE9\r\nX\r\n"},
      // Without its mark, a file whose first line begins with the bytes FF FE would read as
      // UTF-16 and every line would turn to nonsense.
      {"utf-8 bom kept before bytes of a utf-16 mark",
       "\xEF\xBB\xBF\xFF\xFE"
       "a\r\nb\r\n",
       Op::ModifyLine, 1, "X",
       "\xEF\xBB\xBF\xFF\xFE"
       "a\r\nX\r\n"},
      {"utf-8 bom kept before a new line past the end", "\xEF\xBB\xBF\xFE\xFF", Op::ModifyLine, 1,
       "X", "\xEF\xBB\xBF\xFE\xFF\r\nX\r\n"},
      {"extended after a last line without a break", "a\nb", Op::ModifyLine, 3, "x",
       "a\nb\r\n\r\nx\r\n"},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    if (c.before) writeBytes("f.txt", *c.before);
    if (c.op == Op::WriteToFile) {
      store::writetofile("f.txt", c.index, c.text);
    } else {
      store::ModifyLine("f.txt", c.index, c.text);
    }
    EXPECT_EQ(readBytes("f.txt"), c.after);
    EXPECT_EQ(entriesOf("."), QStringList{"f.txt"});
  }
}

TEST(LineReplacement, RefusesMissingFileAndNegativeIndex) {
  WorkDir wd;
  EXPECT_EQ(ioCodeOf([] { store::ModifyLine("missing.txt", 0, "x"); }), store::kFileNotFound);
  EXPECT_FALSE(QFile::exists("missing.txt"));
  writeBytes("f.txt", "a\r\nb\r\n");
  EXPECT_EQ(ioCodeOf([] { store::ModifyLine("f.txt", -1, "x"); }), store::kRangeCheck);
  EXPECT_EQ(ioCodeOf([] { store::writetofile("f.txt", 0, "x"); }), store::kRangeCheck);
  EXPECT_EQ(readBytes("f.txt"), QByteArray("a\r\nb\r\n"));
}

TEST(IoErrors, MessagesByCode) {
  const std::vector<std::pair<int, const char*>> cases = {
      {2, "File not found"},          {3, "Invalid filename"},          {4, "Too many open files"},
      {5, "File access denied"},      {100, "Read beyond end of file"}, {101, "Disk full"},
      {106, "Invalid numeric input"}, {103, "I/O error 103"},           {183, "I/O error 183"},
      {32, "I/O error 32"},           {201, "Range check error"},       {1117, "I/O error 1117"},
  };
  for (const auto& [code, text] : cases) {
    SCOPED_TRACE(code);
    EXPECT_EQ(store::ioMessage(code), QString(text));
    EXPECT_STREQ(store::IoError(code).what(), text);
  }
}

TEST(IoErrors, CodesFromSystemErrors) {
  const std::vector<std::pair<int, int>> cases = {
      {ENOENT, 2},   {ENOTDIR, 2}, {ENAMETOOLONG, 3}, {EINVAL, 3},
      {EMFILE, 4},   {ENFILE, 4},  {EACCES, 5},       {EPERM, 5},
      {EROFS, 5},    {EISDIR, 5},  {ENOSPC, 101},     {EDQUOT, 101},
      {EEXIST, 183}, {EBUSY, 32},  {EIO, 1117},       {EFBIG, 1000 + EFBIG},
  };
  for (const auto& [err, code] : cases) {
    SCOPED_TRACE(err);
    EXPECT_EQ(store::codeFromErrno(err), code);
  }
}

TEST(AtomicWrite, FailuresLeaveNoFileBehind) {
  WorkDir wd;
  writeBytes("plainfile", "x");
  QDir().mkdir("folder");
  // A path through a regular file, a folder in the file's place, a name too long.
  EXPECT_EQ(ioCodeOf([] { store::writeLines("plainfile/t.txt", {"a"}); }), store::kFileNotFound);
  EXPECT_EQ(ioCodeOf([] { store::writeLines("nofolder/t.txt", {"a"}); }), store::kFileNotFound);
  EXPECT_EQ(ioCodeOf([] { store::writeLines("folder", {"a"}); }), store::kAccessDenied);
  EXPECT_EQ(ioCodeOf([] { store::writeLines(QString(300, 'n'), {"a"}); }), store::kInvalidFilename);
  EXPECT_EQ(ioCodeOf([] { store::writetofile("folder", 1, "a"); }), store::kAccessDenied);
  EXPECT_EQ(entriesOf("."), QStringList({"folder", "plainfile"}));
  EXPECT_TRUE(entriesOf("folder").isEmpty());
}

TEST(AtomicWrite, UnwritableFolderKeepsOldFile) {
  WorkDir wd;
  ::chmod(QFile::encodeName(wd.path()).constData(), 0755);  // reachable for "nobody"
  QDir().mkdir("ro");
  writeBytes("ro/keep.txt", "old\r\n");
  ::chmod("ro/keep.txt", 0666);
  ::chmod("ro", 0555);
  const int code = ioCodeWithoutRoot([] { store::ModifyLine("ro/keep.txt", 0, "new"); });
  const int codeNew = ioCodeWithoutRoot([] { store::writeLines("ro/new.txt", {"x"}); });
  ::chmod("ro", 0755);
  EXPECT_EQ(code, store::kAccessDenied);
  EXPECT_EQ(codeNew, store::kAccessDenied);
  EXPECT_EQ(readBytes("ro/keep.txt"), QByteArray("old\r\n"));
  EXPECT_EQ(entriesOf("ro"), QStringList{"keep.txt"});
}

// Replacing a file needs only the folder's permission; a file the user made read-only is
// still refused, whichever of the program's writers it is, as a write in place would be.
TEST(AtomicWrite, ReadOnlyFilesAreNotReplaced) {
  struct Case {
    const char* name;
    QString path;
    std::function<void()> write;
  };
  const QString lang = QStringLiteral("Lg_Delphi");
  const std::vector<Case> cases = {
      {"topic", store::topicPath(lang, 3, 7),
       [&] { store::saveTopic(store::topicPath(lang, 3, 7), "new"); }},
      {"theme", store::themePath(), [] { store::writetofile(store::themePath(), 1, "dark"); }},
      {"topic list", store::topicsPath(lang, 3),
       [&] { store::ModifyLine(store::topicsPath(lang, 3), 6, "Generics"); }},
      {"page descriptions", store::aboutPagesPath(lang),
       [&] { store::ModifyLine(store::aboutPagesPath(lang), 2, "Memory"); }},
      {"editor settings", store::settingsPath(),
       [] { store::writeSettings(store::settingsPath(), store::EditorSettings()); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    QDir().mkpath(store::pageFolder(lang, 3));
    QDir().mkpath(store::settingsFolder());
    // Every folder may be written by the user: only the file itself is read-only.
    for (const QString& folder : {wd.path(), store::dataRoot(), store::settingsFolder(),
                                  store::languageFolder(lang), store::pageFolder(lang, 3)}) {
      ::chmod(QFile::encodeName(folder).constData(), 0777);
    }
    const QByteArray old = "old line\r\n";
    writeBytes(c.path, old);
    const QString folder = QFileInfo(c.path).path();
    const QStringList entries = entriesOf(folder);
    ::chmod(QFile::encodeName(c.path).constData(), 0444);

    EXPECT_EQ(ioCodeWithoutRoot(c.write), store::kAccessDenied);
    EXPECT_EQ(readBytes(c.path), old);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(c.path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
    EXPECT_EQ(entriesOf(folder), entries);

    // Writable again, it is written.
    ::chmod(QFile::encodeName(c.path).constData(), 0666);
    EXPECT_EQ(ioCodeWithoutRoot(c.write), 0);
    EXPECT_NE(readBytes(c.path), old);
  }
}

TEST(AtomicWrite, FailedWriteKeepsOldBytes) {
  WorkDir wd;
  writeBytes("topic.txt", "the old text\r\n");
  // Limit the size of files this process may write, so that the write fails half way.
  struct rlimit old;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  auto previous = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int code = ioCodeOf([] { store::writeFileAtomic("topic.txt", QByteArray(10000, 'n')); });
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previous);
  EXPECT_EQ(code, store::codeFromErrno(EFBIG));
  EXPECT_EQ(readBytes("topic.txt"), QByteArray("the old text\r\n"));
  EXPECT_EQ(entriesOf("."), QStringList{"topic.txt"});
}

// A named pipe or a device in a file's place (or named by a link) is neither read, which
// would wait for ever or never end, nor replaced.
TEST(AtomicWrite, NamedPipesAndDevicesAreLeftAlone) {
  WorkDir wd;
  ASSERT_EQ(::mkfifo("pipe.txt", 0644), 0);
  ASSERT_TRUE(QFile::link("pipe.txt", "link-to-pipe.txt"));
  ASSERT_TRUE(QFile::link("/dev/zero", "zero.txt"));
  for (const char* name : {"pipe.txt", "link-to-pipe.txt", "zero.txt"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ioCodeOf([&] { store::readFileBytes(name); }), store::kAccessDenied);
    EXPECT_EQ(ioCodeOf([&] { store::readLineFile(name, 10); }), store::kAccessDenied);
    EXPECT_EQ(store::readfromfile(name, 1), QString());
  }
  for (const char* name : {"pipe.txt", "link-to-pipe.txt"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(ioCodeOf([&] { store::writeLines(name, {"x"}); }), store::kAccessDenied);
    EXPECT_EQ(ioCodeOf([&] { store::writetofile(name, 1, "x"); }), store::kAccessDenied);
  }
  struct stat st;
  ASSERT_EQ(::stat("pipe.txt", &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  // No temporary file left; the pipe is a "system" entry to QDir.
  EXPECT_EQ(QDir(".").entryList(
                QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name),
            QStringList({"link-to-pipe.txt", "pipe.txt", "zero.txt"}));
}

TEST(AtomicWrite, KeepsPermissionsAndFollowsLinks) {
  WorkDir wd;
  writeBytes("private.txt", "a\r\n");
  ::chmod("private.txt", 0600);
  store::writeLines("private.txt", {"b"});
  struct stat st;
  ASSERT_EQ(::stat("private.txt", &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);

  QDir().mkdir("real");
  writeBytes("real/t.txt", "a\r\n");
  ASSERT_TRUE(QFile::link("real/t.txt", "link.txt"));
  store::ModifyLine("link.txt", 0, "b");
  EXPECT_TRUE(QFileInfo("link.txt").isSymLink());
  EXPECT_EQ(readBytes("real/t.txt"), QByteArray("b\r\n"));
}

}  // namespace
