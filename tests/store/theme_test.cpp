// The theme file: its one line read back, and written only when it says something else.
#include "store/theme.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>

#include "store/ioerror.h"
#include "store_test_util.h"
#include "support/workdir.h"

using testing_support::readBytes;
using testing_support::WorkDir;
using testing_support::writeBytes;

namespace {

const QString kTheme = QStringLiteral("./Data/options.dat");

struct stat statOf(const QString& path) {
  struct stat st {};
  ::stat(QFile::encodeName(path).constData(), &st);
  return st;
}

TEST(Theme, WrittenOnlyWhenItSaysSomethingElse) {
  struct Case {
    const char* name;
    const char* before;  // nullptr: no theme file
    const char* theme;
    QByteArray after;  // empty: no theme file
    bool rewritten;
  };
  const Case cases[] = {
      {"no file yet", nullptr, "light", "light\r\n", true},
      {"no file and no theme: nothing is made", nullptr, "", "", true},
      {"the same look", "dark\r\n", "dark", "dark\r\n", false},
      {"the other look", "light\r\n", "dark", "dark\r\n", true},
      {"an unknown name is written as it is", "dark\r\n", "blue", "blue\r\n", true},
      {"only line 1 changes", "light\r\nmine\r\n", "dark", "dark\r\nmine\r\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WorkDir wd;
    QDir().mkdir("Data");
    if (c.before) writeBytes(kTheme, c.before);
    EXPECT_EQ(store::readTheme(kTheme), c.before ? QString(c.before).section('\r', 0, 0) : "");
    const struct stat before = statOf(kTheme);
    store::writeTheme(kTheme, c.theme);
    EXPECT_EQ(QFile::exists(kTheme), !c.after.isEmpty());
    EXPECT_EQ(readBytes(kTheme), c.after);
    EXPECT_EQ(store::readTheme(kTheme), QString(c.theme));
    if (!c.rewritten) {
      const struct stat after = statOf(kTheme);
      EXPECT_EQ(after.st_ino, before.st_ino);
      EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
      EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    }
  }
}

TEST(Theme, FailuresOfTheFile) {
  WorkDir wd;
  QDir().mkpath(kTheme);  // a folder where the theme file belongs
  EXPECT_EQ(store::readTheme(kTheme), QString());
  EXPECT_EQ(store_test::ioCodeOf([] { store::writeTheme(kTheme, "dark"); }), store::kAccessDenied);
}

}  // namespace
