// Saves killed part way: a child process writes one kind of file over and over (a large topic,
// a line of a topic list, a line of the page descriptions), alternating two contents, and is
// killed with SIGKILL after a random wait (fixed seed) of up to twice the time such a child
// takes for one write on this machine, measured first. After every kill each file holds exactly the
// old or the new content, never a mix or a truncation, and whatever temporary file the kill
// left behind is stale: the sweep removes it. The kills go on until enough of them landed
// inside each kind of write, so a slow or busy machine only takes more of them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <QDir>
#include <QString>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <iostream>
#include <random>
#include <vector>

#include "store/datatree.h"
#include "store/linefile.h"
#include "store/tempfiles.h"
#include "store/topicfile.h"
#include "support/workdir.h"

using testing_support::readBytes;
using testing_support::WorkDir;

namespace {

// What the child tells the parent through shared memory.
struct Progress {
  std::atomic<int> writing{0};  // 1 while a write is under way
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

// One kind of write: the file, the writer of each of its two contents, and those contents'
// bytes.
struct Kind {
  const char* name;
  QString path;
  std::function<void(int)> write;
  std::array<QByteArray, 2> bytes;
};

// The index of the content `file` holds, -1 for anything else.
int contentOf(const Kind& kind, const QByteArray& file) {
  if (file == kind.bytes[0]) return 0;
  if (file == kind.bytes[1]) return 1;
  return -1;
}

// Microseconds from starting a child process that writes `kind` once to that child's end,
// as the children killed below start: the median of a few.
long measureWrite(const Kind& kind) {
  std::vector<long> times;
  for (int i = 0; i < 5; ++i) {
    const int next = 1 - std::max(contentOf(kind, readBytes(kind.path)), 0);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child < 0) return 0;
    if (child == 0) {
      kind.write(next);
      ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    times.push_back(long(std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count()));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

TEST(CrashSafety, KilledSavesLeaveOldOrNewContent) {
  WorkDir wd;
  const QString lang = QStringLiteral("Lg_Delphi");
  ASSERT_TRUE(QDir().mkpath(store::pageFolder(lang, 3)));
  // Two large texts of different lengths (about 3.5 and 2.9 MB), so that a truncated or
  // mixed file cannot pass for either; names and descriptions of different lengths too.
  const QString texts[2] = {bigText('A', 36000), bigText('B', 30000)};
  const QString names[2] = {QStringLiteral("Pointers"), QStringLiteral("Generics and closures")};
  const QString descriptions[2] = {QStringLiteral("Memory"),
                                   QStringLiteral("Everything about the type system")};
  const QString topic = store::topicPath(lang, 3, 7);
  const QString topics = store::topicsPath(lang, 3);
  const QString about = store::aboutPagesPath(lang);
  std::vector<Kind> kinds = {
      {"topic",
       topic,
       [&](int which) { store::saveTopic(topic, texts[which]); },
       {store::encodeTopic(texts[0]), store::encodeTopic(texts[1])}},
      {"topic list",
       topics,
       [&](int which) { store::ModifyLine(topics, 6, names[which]); },
       {crlf(linesWith(store::kTopicPlaceholder, 10, 6, names[0])),
        crlf(linesWith(store::kTopicPlaceholder, 10, 6, names[1]))}},
      {"descriptions",
       about,
       [&](int which) { store::ModifyLine(about, 3, descriptions[which]); },
       {crlf(linesWith(store::kDescriptionPlaceholder, 15, 3, descriptions[0])),
        crlf(linesWith(store::kDescriptionPlaceholder, 15, 3, descriptions[1]))}},
  };
  store::writeLines(topics, linesWith(store::kTopicPlaceholder, 10, 6, names[0]));
  store::writeLines(about, linesWith(store::kDescriptionPlaceholder, 15, 3, descriptions[0]));
  store::saveTopic(topic, texts[0]);
  std::vector<long> micros;
  for (const Kind& kind : kinds) micros.push_back(measureWrite(kind));
  for (long us : micros) ASSERT_GT(us, 0);

  auto* progress = static_cast<Progress*>(
      ::mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
  ASSERT_NE(progress, MAP_FAILED);
  new (progress) Progress;

  const int kEnough = 25;       // kills inside each kind of write
  const int kMostKills = 1500;  // bound: a machine this test cannot load would stop here
  std::mt19937 random(20240611);
  std::vector<int> landed(kinds.size(), 0);
  std::vector<int> completed(kinds.size(), 0);  // kills after which the file had changed
  int torn = 0;
  int staleRemoved = 0;
  int kills = 0;
  const auto enough = [&] {
    for (size_t k = 0; k < kinds.size(); ++k)
      if (landed[k] < kEnough || completed[k] == 0) return false;
    return true;
  };
  for (; kills < kMostKills && !enough(); ++kills) {
    const size_t k = size_t(kills) % kinds.size();
    const Kind& kind = kinds[k];
    const int before = contentOf(kind, readBytes(kind.path));
    ASSERT_GE(before, 0) << kind.name;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // The first write changes the file: it writes the content the file does not hold.
      for (int i = 1 - before;; i = 1 - i) {
        progress->writing = 1;
        kind.write(i);
        progress->writing = 0;
      }
    }
    sleepMicroseconds(std::uniform_int_distribution<long>(0, 2 * micros[k])(random));
    const bool inWrite = progress->writing.load() == 1;
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "the child ended by itself, status " << status;
    progress->writing = 0;
    if (inWrite) ++landed[k];

    for (const Kind& each : kinds) {
      const int now = contentOf(each, readBytes(each.path));
      EXPECT_GE(now, 0) << "kill " << kills << ": " << each.name << " file torn";
      if (now < 0) ++torn;
      if (&each == &kind && now >= 0 && now != before) ++completed[k];
    }
    // The writer that held the temporary file is dead: the file is stale and goes.
    const QString folder = QFileInfo(kind.path).path();
    const store::Sweep sweep = store::removeStaleTemporaries(folder);
    EXPECT_EQ(sweep.inUse, 0);
    staleRemoved += sweep.removed;
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral(".*.~*")}, QDir::Hidden | QDir::Files),
              QStringList());
  }
  ::munmap(progress, sizeof(Progress));

  std::cout << "crash-kill: " << kills << " kills; writes measured at";
  for (size_t k = 0; k < kinds.size(); ++k)
    std::cout << ' ' << kinds[k].name << ' ' << micros[k] << " us"
              << (k + 1 < kinds.size() ? ',' : ';');
  std::cout << " kills inside a write:";
  for (size_t k = 0; k < kinds.size(); ++k) std::cout << ' ' << kinds[k].name << ' ' << landed[k];
  std::cout << "; after a finished write:";
  for (size_t k = 0; k < kinds.size(); ++k)
    std::cout << ' ' << kinds[k].name << ' ' << completed[k];
  std::cout << "; " << torn << " torn files, " << staleRemoved
            << " stale temporary files removed\n";
  EXPECT_EQ(torn, 0);
  for (size_t k = 0; k < kinds.size(); ++k) {
    // Kills inside each kind of write, and writes that finished, or the test shows nothing.
    EXPECT_GE(landed[k], kEnough) << kinds[k].name;
    EXPECT_GT(completed[k], 0) << kinds[k].name;
  }
  EXPECT_GT(staleRemoved, 0);
}

}  // namespace
