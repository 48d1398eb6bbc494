// A watched line file: read again whenever anything changed it since the last look, however
// it was changed, and only then.
#include "store/linewatch.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <vector>

#include "store/ioerror.h"
#include "store_test_util.h"
#include "support/workdir.h"

using testing_support::WorkDir;
using testing_support::writeBytes;

namespace {

const QString kPath = QStringLiteral("topics.txt");
// A clock ten seconds ahead: the file written just now is then old enough to trust.
long long later() {
  return store::clockNs() + 10'000'000'000LL;
}

// Writes `bytes` over the start of the existing file, in place, without truncating it.
void overwriteInPlace(const QString& path, const QByteArray& bytes) {
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
  ::close(fd);
}

TEST(WatchedLineFile, EveryChangeFromOutsideShowsAtTheNextLook) {
  struct Case {
    const char* name;
    bool existsFirst;
    std::function<void()> change;
    bool exists;
    QStringList lines;
  };
  const std::vector<Case> cases = {
      {"same size, in place, modification time kept",
       true,
       [] {
         struct stat before;
         ::stat("topics.txt", &before);
         overwriteInPlace(kPath, "ONE\r\nTWO\r\n");
         const timespec times[2] = {before.st_atim, before.st_mtim};
         ::utimensat(AT_FDCWD, "topics.txt", times, 0);
       },
       true,
       {"ONE", "TWO", ""}},
      {"renamed over",
       true,
       [] {
         writeBytes("new.txt", "one\r\nthree\r\n");
         ASSERT_EQ(::rename("new.txt", "topics.txt"), 0);
       },
       true,
       {"one", "three", ""}},
      {"truncated", true, [] { ASSERT_EQ(::truncate("topics.txt", 0), 0); }, true, {"", "", ""}},
      {"deleted", true, [] { QFile::remove(kPath); }, false, {}},
      {"folder in its place",
       true,
       [] {
         QFile::remove(kPath);
         QDir().mkdir(kPath);
       },
       false,
       {}},
      {"created", false, [] { writeBytes(kPath, "made\r\n"); }, true, {"made", "", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    if (c.existsFirst) writeBytes(kPath, "one\r\ntwo\r\n");
    store::WatchedLineFile file;
    ASSERT_TRUE(file.refresh(kPath, 3, later()));
    EXPECT_FALSE(file.refresh(kPath, 3, later()));  // nothing changed: nothing read
    c.change();
    EXPECT_TRUE(file.refresh(kPath, 3, later()));
    EXPECT_EQ(file.exists(), c.exists);
    EXPECT_EQ(file.lines(), c.lines);
    EXPECT_FALSE(file.refresh(kPath, 3, later()));
  }
}

// A file read in the same tick of the file system's clock as its last write could be written
// again without its stamp changing: it is read again until its times are old enough.
TEST(WatchedLineFile, ReadsAgainWhatWasReadTooSoonAfterAWrite) {
  WorkDir wd;
  writeBytes(kPath, "one\r\n");
  const store::FileStamp written = store::stampOf(kPath);
  const long long sameTick = std::max(written.modifiedNs, written.changedNs);
  store::WatchedLineFile file;
  EXPECT_TRUE(file.refresh(kPath, 1, sameTick));
  EXPECT_TRUE(file.refresh(kPath, 1, sameTick + 1'900'000'000LL));
  EXPECT_TRUE(file.refresh(kPath, 1, sameTick + 2'100'000'000LL));
  EXPECT_FALSE(file.refresh(kPath, 1, sameTick + 2'100'000'000LL));
  EXPECT_EQ(file.lines(), QStringList{"one"});
}

TEST(WatchedLineFile, AnotherPathOrCountIsReadAgain) {
  WorkDir wd;
  writeBytes("a.txt", "one\r\ntwo\r\n");
  writeBytes("b.txt", "one\r\ntwo\r\n");
  store::WatchedLineFile file;
  ASSERT_TRUE(file.refresh("a.txt", 1, later()));
  EXPECT_TRUE(file.refresh("b.txt", 1, later()));
  EXPECT_TRUE(file.refresh("b.txt", 2, later()));
  EXPECT_EQ(file.lines(), (QStringList{"one", "two"}));
}

// A file that cannot be read fails at every look: a failure is never taken for "unchanged".
TEST(WatchedLineFile, AFileThatCannotBeReadFailsEveryTime) {
  WorkDir wd;
  ASSERT_EQ(::mkfifo("topics.txt", 0644), 0);
  store::WatchedLineFile file;
  for (int look = 0; look < 2; ++look) {
    SCOPED_TRACE(look);
    EXPECT_EQ(store_test::ioCodeOf([&] { file.refresh(kPath, 3, later()); }), store::kAccessDenied);
  }
}

}  // namespace
