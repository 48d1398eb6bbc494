// A line file kept as last read, read again only when it may have changed: what the home
// window reloads every half second costs a stat call per file while nothing changes.
//
// A file may have changed when its stamp (filestamp.h: device, inode, size, modification
// and change times) differs from the one it had when it was read, or when it was read so
// soon after its last write that another write in the same tick of the file system's clock
// would leave the same stamp ("racy": such a file is read again at the next look).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "store/filestamp.h"

namespace store {

// The system clock, in nanoseconds since 1970, as file times are kept.
long long clockNs();

// Whether a file read when the clock said `readAtNs` could be written again without its
// stamp changing: its last write or change lies within two seconds (the coarsest tick of
// file times, on FAT) of the read, or after it.
bool tooRecentToTrust(const FileStamp& stamp, long long readAtNs);

class WatchedLineFile {
 public:
  // Looks at `path` and, when it may differ from what the last call saw (another path or
  // count, a new stamp, a racy read), reads its first `count` lines as readLineFile does.
  // Returns whether it read anything or the file's existence changed; false means
  // lines() and exists() are as before. Throws IoError when the file exists but cannot be
  // read; the next call then reads it again. `nowNs` is the clock at the call.
  bool refresh(const QString& path, int count, long long nowNs = clockNs());

  // Whether a file (anything but a folder) was at the path at the last call.
  bool exists() const { return exists_; }
  // Its first `count` lines, lines missing at its end being empty; none when it did not exist.
  const QStringList& lines() const { return lines_; }

 private:
  QString path_;
  QByteArray encodedPath_;  // path_ as the system names it
  int count_ = 0;
  FileStamp stamp_;
  bool trusted_ = false;  // stamp_ tells a change: the last call read it, long enough after a write
  bool exists_ = false;
  QStringList lines_;
};

}  // namespace store
