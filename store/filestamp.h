// A file's stamp: what the file system says about one state of a file, taken without reading
// it. Two stamps of the same path differ when the file was written, replaced, created or
// deleted in between, whichever program did it.
#pragma once

#include <QString>

struct stat;

namespace store {

struct FileStamp {
  bool exists = false;
  unsigned long long device = 0;
  unsigned long long inode = 0;
  long long size = 0;
  long long modifiedNs = 0;  // time of the last write, in nanoseconds
  long long changedNs = 0;   // time of the last change of content or attributes
  int error = 0;             // the system error when the file could not be examined

  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file at `path` (a symbolic link is followed). A file that does not exist,
// or whose folder does not, gives a stamp with `exists` false. Never throws.
FileStamp stampOf(const QString& path);

// The stamp of a file examined with stat or fstat.
FileStamp stampOf(const struct stat& st);

}  // namespace store
