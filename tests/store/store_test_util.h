// Shared pieces of the store tests: readable failure output for Qt strings, and a way to
// run a piece of code without root's right to write anywhere.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <ostream>

#include "store/ioerror.h"

inline void PrintTo(const QString& s, std::ostream* os) {
  *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QByteArray& b, std::ostream* os) {
  *os << '"';
  for (char c : b) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7F && c != '\\') {
      *os << c;
    } else {
      static const char hex[] = "0123456789ABCDEF";
      *os << "\\x" << hex[u >> 4] << hex[u & 15];
    }
  }
  *os << '"';
}

inline void PrintTo(const QStringList& l, std::ostream* os) {
  *os << '[';
  for (qsizetype i = 0; i < l.size(); ++i) {
    if (i) *os << ", ";
    PrintTo(l.at(i), os);
  }
  *os << ']';
}

namespace store_test {

// The IoError code `body` throws, 0 when it throws nothing.
inline int ioCodeOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const store::IoError& e) {
    return e.code();
  }
  return 0;
}

// Runs `body` where folder permissions apply: directly for an ordinary user, in a child
// process that has given up root for the "nobody" account otherwise. Returns the IoError
// code `body` threw (0 for none, -1 when the child could not run it).
inline int ioCodeWithoutRoot(const std::function<void()>& body) {
  if (::geteuid() != 0) return ioCodeOf(body);
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(255);
    const int code = ioCodeOf(body);
    ::_exit(code > 250 ? 254 : code);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  const int code = WEXITSTATUS(status);
  return code == 255 ? -1 : code;
}

}  // namespace store_test
