// The sweep of stale temporary files beside a live writer: a child process saves a large
// topic over and over while this process sweeps the page folder again and again. The sweep
// meets the file being written and leaves it, so every save of the child succeeds.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <atomic>
#include <iostream>

#include "store/datatree.h"
#include "store/ioerror.h"
#include "store/tempfiles.h"
#include "store/topicfile.h"
#include "support/workdir.h"

using testing_support::readBytes;
using testing_support::WorkDir;

namespace {

struct Shared {
  std::atomic<bool> stop{false};
  std::atomic<int> saves{0};
  std::atomic<int> failures{0};
};

TEST(StaleTemporaries, SweepsBesideALiveWriterLeaveItsFile) {
  WorkDir wd;
  const QString folder = store::pageFolder(QStringLiteral("Lg_Delphi"), 3);
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString topic = store::topicPath(QStringLiteral("Lg_Delphi"), 3, 7);
  const QString texts[2] = {QString(1000000, u'a'), QString(700000, u'b')};
  const QByteArray bytes[2] = {store::encodeTopic(texts[0]), store::encodeTopic(texts[1])};
  store::saveTopic(topic, texts[0]);

  auto* shared = static_cast<Shared*>(
      ::mmap(nullptr, sizeof(Shared), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(shared, MAP_FAILED);
  new (shared) Shared;

  const int kMostSaves = 400;  // bound of the child's saves
  const int kEnough = 20;      // sweeps that met the file being written, and saves made
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    for (int i = 1; i <= kMostSaves && !shared->stop; ++i) {
      try {
        store::saveTopic(topic, texts[i % 2]);
      } catch (const store::IoError&) {
        ++shared->failures;
      }
      ++shared->saves;
    }
    ::_exit(0);
  }

  int inUse = 0;
  int torn = 0;
  int status = 0;
  while (::waitpid(child, &status, WNOHANG) == 0) {
    inUse += store::removeStaleTemporaries(folder).inUse;
    if (inUse >= kEnough && shared->saves >= kEnough) shared->stop = true;
    const QByteArray now = readBytes(topic);
    if (now != bytes[0] && now != bytes[1]) ++torn;
  }
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  std::cout << "sweeps beside a writer: " << shared->saves << " saves, " << shared->failures
            << " failed; the sweeps met the file being written " << inUse << " times\n";
  EXPECT_EQ(shared->failures, 0);
  EXPECT_EQ(torn, 0);
  EXPECT_GT(inUse, 0);
  EXPECT_EQ(QDir(folder).entryList(QDir::Hidden | QDir::Files), QStringList{"topic7.txt"});
  ::munmap(shared, sizeof(Shared));
}

}  // namespace
