#include "store/tempfiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <atomic>
#include <cerrno>

#include "store/ioerror.h"

namespace store {

namespace {

constexpr char kMark[] = ".~";

bool allDigits(QByteArrayView s) {
  if (s.isEmpty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

// Whether `path` still names the file open as `fd`.
bool namesOpenFile(int fd, const QByteArray& path) {
  struct stat open;
  struct stat named;
  return ::fstat(fd, &open) == 0 && ::lstat(path.constData(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

QByteArray temporaryName(const QByteArray& base, qint64 pid, unsigned serial) {
  return '.' + base + kMark + QByteArray::number(pid) + '-' + QByteArray::number(serial);
}

QByteArray temporaryTarget(const QByteArray& name) {
  if (!name.startsWith('.')) return {};
  const qsizetype mark = name.lastIndexOf(kMark);
  if (mark <= 1) return {};
  const QByteArrayView number = QByteArrayView(name).sliced(mark + 2);
  const qsizetype dash = number.indexOf('-');
  if (dash < 0 || !allDigits(number.first(dash)) || !allDigits(number.sliced(dash + 1))) return {};
  return name.mid(1, mark - 1);
}

int createTemporary(const QByteArray& folder, const QByteArray& base, unsigned mode,
                    QByteArray& path) {
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = folder + '/' + temporaryName(base, qint64(::getpid()), ++serial);
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST || errno == EINTR) continue;
      throwErrno(errno);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // Between its creation and the lock, a sweep may have found it unlocked and removed it.
      if (namesOpenFile(fd, path)) return fd;
    } else if (errno != EWOULDBLOCK) {
      // A file system without locks: no sweep can lock the file either, so none removes it.
      return fd;
    }
    // A sweep holds it, as stale, and removes it: another name is taken.
    ::close(fd);
  }
  throwErrno(EEXIST);
}

Sweep removeStaleTemporaries(const QString& folder, const QString& base) {
  Sweep sweep;
  const QByteArray dirPath = QFile::encodeName(folder);
  const QByteArray wanted = QFile::encodeName(base);
  DIR* dir = ::opendir(dirPath.constData());
  if (!dir) return sweep;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN) continue;
    const QByteArray name(entry->d_name);
    const QByteArray target = temporaryTarget(name);
    if (target.isEmpty() || (!wanted.isEmpty() && target != wanted)) continue;
    const QByteArray path = dirPath + '/' + name;
    const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      ::close(fd);
      continue;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      if (errno == EWOULDBLOCK) ++sweep.inUse;
      ::close(fd);
      continue;
    }
    // Held by this sweep, the file cannot be taken by a writer; it is removed only while its
    // name still leads to it.
    if (namesOpenFile(fd, path) && ::unlink(path.constData()) == 0) ++sweep.removed;
    ::close(fd);
  }
  ::closedir(dir);
  return sweep;
}

}  // namespace store
