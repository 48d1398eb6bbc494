#include "store/linewatch.h"

#include <sys/stat.h>
#include <time.h>

#include <QFile>
#include <algorithm>
#include <cerrno>

#include "store/linefile.h"

namespace store {

namespace {
constexpr long long kCoarsestTickNs = 2'000'000'000LL;
}  // namespace

long long clockNs() {
  timespec ts;
  ::clock_gettime(CLOCK_REALTIME, &ts);
  return (long long)ts.tv_sec * 1'000'000'000LL + ts.tv_nsec;
}

bool tooRecentToTrust(const FileStamp& stamp, long long readAtNs) {
  return std::max(stamp.modifiedNs, stamp.changedNs) > readAtNs - kCoarsestTickNs;
}

bool WatchedLineFile::refresh(const QString& path, int count, long long nowNs) {
  // The name is encoded for the system once per path, not at every look.
  if (path != path_ || count != count_) {
    path_ = path;
    encodedPath_ = QFile::encodeName(path);
    count_ = count;
    trusted_ = false;
  }
  FileStamp seen;
  bool isFile = false;
  struct stat st;
  if (::stat(encodedPath_.constData(), &st) == 0) {
    seen = stampOf(st);
    isFile = !S_ISDIR(st.st_mode);
  } else if (errno != ENOENT && errno != ENOTDIR) {
    seen.error = errno;
  }
  if (trusted_ && seen == stamp_) return false;

  trusted_ = false;
  lines_.clear();
  exists_ = isFile;
  if (!isFile) {
    // Nothing to read: a file made in its place changes the stamp.
    stamp_ = seen;
    trusted_ = true;
    return true;
  }
  FileStamp read;
  LineReader reader = LineReader::fromBytes(readFileBytes(path, &read));
  lines_.reserve(count > 0 ? count : 0);
  for (int i = 0; i < count; ++i) lines_.append(reader.next());
  stamp_ = read;
  trusted_ = !tooRecentToTrust(read, nowNs);
  return true;
}

}  // namespace store
