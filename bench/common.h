// What the benchmark programs share: medians, the result lines that bench/run.sh reads, the
// large topic every large-topic figure uses, and plain file reads and writes as references.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

// The word the find figures look for: on every 97th line of the large topic.
inline const QString kFindWord = QStringLiteral("closure");
inline constexpr int kLargeLines = 100000;

inline double median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// One figure for the table: "ROW <key> <median> <baseline> <unit>", tab separated.
inline void printRow(const char* key, double value, double baseline, const char* unit) {
  std::printf("ROW\t%s\t%.3f\t%.3f\t%s\n", key, value, baseline, unit);
  std::fflush(stdout);
}

// A topic of 100,000 lines, about 5 MB, '\n' between lines: notes in plain English with
// a few accented letters, the same text on every run.
inline QString largeTopicText() {
  static const char* const words[] = {
      "pointer", "array",  "template", "iterator", "lambda",    "module",    "thread",
      "mutex",   "string", "café",     "vector",   "recursion", "interface", "garbage",
      "inline",  "const",  "generic",  "naïve",    "allocator", "exception", "coroutine"};
  constexpr unsigned kWords = sizeof(words) / sizeof(words[0]);
  QStringList lines;
  lines.reserve(kLargeLines);
  unsigned seed = 12345;
  const auto pick = [&] {
    seed = seed * 1103515245u + 12345u;
    return QString::fromUtf8(words[(seed >> 16) % kWords]);
  };
  for (int i = 1; i <= kLargeLines; ++i) {
    QString line = QStringLiteral("%1: the %2 of a %3 keeps its ")
                       .arg(i, 6, 10, QLatin1Char('0'))
                       .arg(pick(), pick());
    line += i % 97 == 0 ? kFindWord : pick();
    line += u'.';
    lines << line;
  }
  return lines.join(u'\n');
}

// One unbroken line of 10 MB: what a pasted blob or minified code makes of a topic.
inline QString oneLineText() {
  QString text;
  text.reserve(10 * 1024 * 1024);
  while (text.size() < 10 * 1024 * 1024) text += QStringLiteral("minified_code(x)+");
  return text;
}

// Plain POSIX reads and writes of the same bytes: what the disk and the kernel cost
// without anything of the program around them.
inline QByteArray rawRead(const char* path) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error(std::string("cannot open ") + path);
  struct stat st;
  QByteArray data;
  if (::fstat(fd, &st) == 0) data.resize(qsizetype(st.st_size));
  qsizetype used = 0;
  while (used < data.size()) {
    const ssize_t n = ::read(fd, data.data() + used, size_t(data.size() - used));
    if (n <= 0) break;
    used += n;
  }
  ::close(fd);
  data.truncate(used);
  return data;
}

inline void rawWriteSynced(const char* path, const QByteArray& bytes) {
  const int fd = ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error(std::string("cannot create ") + path);
  const char* p = bytes.constData();
  qsizetype left = bytes.size();
  while (left > 0) {
    const ssize_t n = ::write(fd, p, size_t(left));
    if (n <= 0) break;
    p += n;
    left -= n;
  }
  ::fsync(fd);
  ::close(fd);
}

// A process's CPU time so far, in nanoseconds.
inline long long cpuNs() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return (long long)ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

// The durable replacement of a file with plain system calls: a temporary file beside it,
// written and synced, renamed over it, and the folder synced.
inline void rawReplaceSynced(const char* folder, const char* path, const QByteArray& bytes) {
  const std::string temp = std::string(path) + ".tmp";
  rawWriteSynced(temp.c_str(), bytes);
  if (::rename(temp.c_str(), path) != 0) throw std::runtime_error("cannot rename " + temp);
  const int fd = ::open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace bench
