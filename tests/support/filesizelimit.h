// A disk that fills up, for as long as the object lives: no file of this process may grow
// past `bytes`. A write beyond it fails with EFBIG, whoever runs the test, root included; the
// signal such a write raises is ignored meanwhile. The limit binds every thread of the
// process, so it is held only around the steps that are to fail: the old limit and the old
// handling of the signal come back when the object goes, and the tests after it write as
// before.
#pragma once

#include <signal.h>
#include <sys/resource.h>

#include <algorithm>

namespace testing_support {

class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    if (::getrlimit(RLIMIT_FSIZE, &old_) != 0) return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    if (::sigaction(SIGXFSZ, &ignore, &oldAction_) != 0) return;
    ignoring_ = true;
    rlimit small = old_;  // only the soft limit: the hard one could not be raised again
    small.rlim_cur = std::min(bytes, old_.rlim_cur);
    limited_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
  }
  ~FileSizeLimit() {
    if (limited_) ::setrlimit(RLIMIT_FSIZE, &old_);
    if (ignoring_) ::sigaction(SIGXFSZ, &oldAction_, nullptr);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  // Whether the limit holds (a test that needs it fails without it).
  bool holds() const { return limited_; }

 private:
  rlimit old_{};
  struct sigaction oldAction_ {};
  bool ignoring_ = false;
  bool limited_ = false;
};

}  // namespace testing_support
