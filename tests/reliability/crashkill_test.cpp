// Saves killed at random moments: a child process saves a large topic and rewrites lines
// of a topic list and a page description file over and over, and is killed with SIGKILL
// at random moments (fixed seed). After every kill each file holds exactly the old or
// the new content, never a mix or a truncation.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QString>
#include <atomic>
#include <iostream>
#include <random>
#include <vector>

#include "store/datatree.h"
#include "store/linefile.h"
#include "store/topicfile.h"
#include "support/workdir.h"

using testing_support::readBytes;
using testing_support::WorkDir;

namespace {

// What the child tells the parent through shared memory.
struct Progress {
  std::atomic<long> writes{0};  // writes completed
  std::atomic<int> writing{0};  // during a write: 1 topic, 2 topic list, 3 descriptions
};

QString bigText(char seed, int lines) {
  QString text;
  text.reserve(lines * 80);
  for (int i = 0; i < lines; ++i) {
    text += QStringLiteral("line %1 of the %2 text: for i := 1 to 10 do Writeln(i); \u00FC\u20AC ")
                .arg(i)
                .arg(QChar(u'A' + (seed - 'A')));
    text += QString(20, QChar(u'a' + (i + seed) % 26));
    if (i + 1 < lines) text += u'\n';
  }
  return text;
}

QStringList linesWith(const QString& fill, int count, int index, const QString& text) {
  QStringList lines;
  for (int i = 0; i < count; ++i) lines << (i == index ? text : fill);
  return lines;
}

QByteArray crlf(const QStringList& lines) {
  QByteArray out;
  for (const QString& l : lines) out += l.toUtf8() + "\r\n";
  return out;
}

void sleepMicroseconds(long us) {
  timespec ts{us / 1000000, (us % 1000000) * 1000};
  while (::nanosleep(&ts, &ts) != 0) {
  }
}

// The child: alternates two contents of each file for ever, until it is killed.
[[noreturn]] void saveForEver(Progress* progress, const QString& topic, const QString& topics,
                              const QString& about, const QString (&texts)[2],
                              const QString (&names)[2], const QString (&descriptions)[2],
                              long start) {
  for (long i = start;; ++i) {
    const int which = int(i % 2);
    const int kind = int((i / 2) % 3);
    progress->writing = kind + 1;
    switch (kind) {
      case 0:
        store::saveTopic(topic, texts[which]);
        break;
      case 1:
        store::ModifyLine(topics, 6, names[which]);
        break;
      default:
        store::ModifyLine(about, 3, descriptions[which]);
        break;
    }
    progress->writing = 0;
    progress->writes.fetch_add(1);
  }
}

TEST(CrashSafety, KilledSavesLeaveOldOrNewContent) {
  WorkDir wd;
  const QString folder = store::pageFolder(QStringLiteral("Lg_Delphi"), 3);
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString topic = store::topicPath(QStringLiteral("Lg_Delphi"), 3, 7);
  const QString topics = store::topicsPath(QStringLiteral("Lg_Delphi"), 3);
  const QString about = store::aboutPagesPath(QStringLiteral("Lg_Delphi"));

  // Two large texts of different lengths (about 3.5 and 2.9 MB), so that a truncated or
  // mixed file cannot pass for either.
  const QString texts[2] = {bigText('A', 36000), bigText('B', 30000)};
  const QString names[2] = {QStringLiteral("Pointers"), QStringLiteral("Generics and closures")};
  const QString descriptions[2] = {QStringLiteral("Memory"),
                                   QStringLiteral("Everything about the type system")};
  const QByteArray topicBytes[2] = {store::encodeTopic(texts[0]), store::encodeTopic(texts[1])};
  const QByteArray topicsBytes[2] = {crlf(linesWith(store::kTopicPlaceholder, 10, 6, names[0])),
                                     crlf(linesWith(store::kTopicPlaceholder, 10, 6, names[1]))};
  const QByteArray aboutBytes[2] = {
      crlf(linesWith(store::kDescriptionPlaceholder, 15, 3, descriptions[0])),
      crlf(linesWith(store::kDescriptionPlaceholder, 15, 3, descriptions[1]))};
  store::saveTopic(topic, texts[0]);
  store::writeLines(topics, linesWith(store::kTopicPlaceholder, 10, 6, names[0]));
  store::writeLines(about, linesWith(store::kDescriptionPlaceholder, 15, 3, descriptions[0]));

  auto* progress = static_cast<Progress*>(
      ::mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(progress, MAP_FAILED);
  new (progress) Progress;

  std::mt19937 random(20240611);
  // The kill lands after a random wait of up to one and a half typical topic saves.
  std::uniform_int_distribution<long> wait(0, 60000);
  const int iterations = 200;
  int torn = 0;
  int duringWrite[3] = {0, 0, 0};  // kills inside a write of each file
  int staleTemporaries = 0;
  long writesBefore = 0;
  for (int it = 0; it < iterations; ++it) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      saveForEver(progress, topic, topics, about, texts, names, descriptions, writesBefore);
    }
    sleepMicroseconds(wait(random));
    const int writing = progress->writing.load();
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the child ended by itself, status " << status;
    if (writing > 0) ++duringWrite[writing - 1];
    progress->writing = 0;
    writesBefore = progress->writes.load();

    const QByteArray t = readBytes(topic);
    const QByteArray l = readBytes(topics);
    const QByteArray a = readBytes(about);
    const bool topicWhole = t == topicBytes[0] || t == topicBytes[1];
    const bool topicsWhole = l == topicsBytes[0] || l == topicsBytes[1];
    const bool aboutWhole = a == aboutBytes[0] || a == aboutBytes[1];
    torn += int(!topicWhole) + int(!topicsWhole) + int(!aboutWhole);
    EXPECT_TRUE(topicWhole) << "iteration " << it << ": topic file of " << t.size() << " bytes";
    EXPECT_TRUE(topicsWhole) << "iteration " << it << ": " << l.toStdString();
    EXPECT_TRUE(aboutWhole) << "iteration " << it << ": " << a.toStdString();

    // A kill between creating and renaming a temporary file leaves it behind, hidden; it
    // never takes a file's place. Removed here so the runs do not fill the disk.
    for (const QString& dir : {folder, store::languageFolder(QStringLiteral("Lg_Delphi"))}) {
      for (const QString& name :
           QDir(dir).entryList({QStringLiteral(".*.~*")}, QDir::Hidden | QDir::Files)) {
        ++staleTemporaries;
        QFile::remove(dir + u'/' + name);
      }
    }
  }
  ::munmap(progress, sizeof(Progress));

  const int inWrite = duringWrite[0] + duringWrite[1] + duringWrite[2];
  std::cout << "crash-kill: " << iterations << " kills, " << inWrite << " during a write ("
            << duringWrite[0] << " topic, " << duringWrite[1] << " topic list, " << duringWrite[2]
            << " descriptions), " << writesBefore << " writes completed, " << torn
            << " torn files, " << staleTemporaries << " hidden temporary files left by kills\n";
  EXPECT_EQ(torn, 0);
  // Most kills must land inside a write, some inside each kind, or the test shows nothing.
  EXPECT_GE(inWrite, iterations / 2);
  for (int n : duringWrite) EXPECT_GT(n, 0);
  // The saves went on between kills: every file changed many times.
  EXPECT_GE(writesBefore, iterations);
}

}  // namespace
