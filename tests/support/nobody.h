// File permissions as an ordinary user has them, for tests of what a user may not read or
// write: a process running as root takes the rights of the "nobody" account for the lifetime
// of this object (its effective user and group only, so that they can be given back). An
// ordinary user keeps their own rights, which permissions bind already.
#pragma once

#include <unistd.h>

#include <cstdlib>

namespace testing_support {

class AsNobody {
 public:
  AsNobody() {
    if (::geteuid() != 0) return;
    dropped_ = ::setegid(65534) == 0 && ::seteuid(65534) == 0;
  }
  ~AsNobody() {
    // A test process that could not take root's rights back would run every later test
    // with the wrong rights: it stops instead.
    if (::getuid() == 0 && (::seteuid(0) != 0 || ::setegid(0) != 0)) std::abort();
  }
  AsNobody(const AsNobody&) = delete;
  AsNobody& operator=(const AsNobody&) = delete;

  // Whether permissions now bind this process.
  bool binding() const { return dropped_ || ::getuid() != 0; }

 private:
  bool dropped_ = false;
};

}  // namespace testing_support
