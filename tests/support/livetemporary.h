// A temporary file of the atomic writer that a writer is still writing: created and held
// locked through a descriptor of its own, as a live writer holds it, for as long as this
// object lives.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QString>

#include "support/workdir.h"

namespace testing_support {

class LiveTemporary {
 public:
  explicit LiveTemporary(const QString& path) {
    writeBytes(path, "half written");
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    locked_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
  }
  ~LiveTemporary() {
    if (fd_ >= 0) ::close(fd_);
  }
  LiveTemporary(const LiveTemporary&) = delete;
  LiveTemporary& operator=(const LiveTemporary&) = delete;

  bool locked() const { return locked_; }

 private:
  int fd_ = -1;
  bool locked_ = false;
};

}  // namespace testing_support
