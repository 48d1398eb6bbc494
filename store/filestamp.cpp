#include "store/filestamp.h"

#include <sys/stat.h>

#include <QFile>
#include <cerrno>

namespace store {

namespace {
long long nanoseconds(const timespec& t) {
  return (long long)t.tv_sec * 1000000000LL + t.tv_nsec;
}
}  // namespace

FileStamp stampOf(const struct stat& st) {
  FileStamp s;
  s.exists = true;
  s.device = st.st_dev;
  s.inode = st.st_ino;
  s.size = st.st_size;
  s.modifiedNs = nanoseconds(st.st_mtim);
  s.changedNs = nanoseconds(st.st_ctim);
  return s;
}

FileStamp stampOf(const QString& path) {
  struct stat st;
  if (::stat(QFile::encodeName(path).constData(), &st) == 0) return stampOf(st);
  FileStamp s;
  if (errno != ENOENT && errno != ENOTDIR) s.error = errno;
  return s;
}

}  // namespace store
