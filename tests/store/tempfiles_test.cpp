// Temporary files that writes which never finished left behind: removed after the next save
// of their file and by the sweep of the whole tree, while a temporary file a writer still
// holds, and everything that is not a temporary file of the program's, stays.
#include "store/tempfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "store/bootstrap.h"
#include "store/datatree.h"
#include "store/topicfile.h"
#include "store_test_util.h"
#include "support/livetemporary.h"
#include "support/workdir.h"

using testing_support::LiveTemporary;
using testing_support::readBytes;
using testing_support::WorkDir;
using testing_support::writeBytes;

namespace {

QStringList entriesOf(const QString& folder) {
  return QDir(folder).entryList(
      QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(StaleTemporaries, SaveRemovesOnlyItsFilesStaleOnes) {
  WorkDir wd;
  const QString page = "Data/Lg_Delphi/3";
  QDir().mkpath(page);
  const QString topic = page + "/topic7.txt";
  writeBytes(topic, "\xEF\xBB\xBFold");
  // Left by saves of topic 7 that were killed.
  writeBytes(page + "/.topic7.txt.~4242-1", "stale");
  writeBytes(page + "/.topic7.txt.~77-12", "");
  // Everything else stays.
  const LiveTemporary live(page + "/.topic7.txt.~4242-2");
  ASSERT_TRUE(live.locked());
  writeBytes(page + "/.topic8.txt.~4242-3", "stale, of another topic");
  writeBytes(page + "/.topic7.txt.~", "not a temporary name");
  writeBytes(page + "/.topic7.txt.~12-x", "not a temporary name");
  writeBytes(page + "/.topic7.txt.~-1", "not a temporary name");
  writeBytes(page + "/.notes", "the user's own hidden file");
  QDir().mkdir(page + "/.topic7.txt.~5-5");
  ASSERT_TRUE(QFile::link(".notes", page + "/.topic7.txt.~6-6"));

  store::saveTopic(topic, "new");
  EXPECT_EQ(readBytes(topic), QByteArray("\xEF\xBB\xBFnew"));
  EXPECT_EQ(entriesOf(page),
            QStringList({".notes", ".topic7.txt.~", ".topic7.txt.~-1", ".topic7.txt.~12-x",
                         ".topic7.txt.~4242-2", ".topic7.txt.~5-5", ".topic7.txt.~6-6",
                         ".topic8.txt.~4242-3", "topic7.txt"}));
  EXPECT_EQ(readBytes(page + "/.notes"), QByteArray("the user's own hidden file"));
}

TEST(StaleTemporaries, TreeSweepRemovesStaleOnesEverywhere) {
  WorkDir wd;
  store::makeDataTree();
  const QStringList stale = {
      "Data/.options.dat.~10-1",
      "Data/UserSettings/.options.txt.~10-2",
      "Data/Lg_Java/.aboutpages.txt.~10-3",
      "Data/Lg_Java/15/.topic10.txt.~10-4",
  };
  for (const QString& path : stale) writeBytes(path, "stale");
  const LiveTemporary live("Data/Lg_Delphi/1/.topics.txt.~11-1");
  ASSERT_TRUE(live.locked());
  writeBytes("Data/Lg_Delphi/1/.notes", "kept");
  // Only the folders the program writes in are swept.
  QDir().mkpath("Data/Lg_Java/extra");
  writeBytes("Data/Lg_Java/extra/.topic1.txt.~10-5", "kept");

  const store::Sweep sweep = store::removeStaleTemporariesOfTree();
  EXPECT_EQ(sweep.removed, 4);
  EXPECT_EQ(sweep.inUse, 1);
  for (const QString& path : stale) EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
  EXPECT_TRUE(QFile::exists("Data/Lg_Delphi/1/.topics.txt.~11-1"));
  EXPECT_TRUE(QFile::exists("Data/Lg_Delphi/1/.notes"));
  EXPECT_TRUE(QFile::exists("Data/Lg_Java/extra/.topic1.txt.~10-5"));
}

}  // namespace
