// Input/output errors of the store, and the one place where the system's error numbers
// become the program's error codes and messages.
#pragma once

#include <QString>
#include <stdexcept>

namespace store {

// Program error codes.
enum IoCode : int {
  kFileNotFound = 2,
  kInvalidFilename = 3,
  kTooManyOpenFiles = 4,
  kAccessDenied = 5,
  kReadBeyondEnd = 100,
  kDiskFull = 101,
  kFileNotOpen = 103,
  kInvalidNumericInput = 106,
  kSharingViolation = 32,
  kAlreadyExists = 183,
  kRangeCheck = 201,    // a line index below the first line
  kDeviceError = 1117,  // the device reported a read or write failure (EIO)
};

// System errors without a code of their own above become kSystemErrorBase + errno, so that
// each keeps a distinct, stable "I/O error %d" message (e.g. EFBIG gives "I/O error 1027").
inline constexpr int kSystemErrorBase = 1000;

// "File not found", "File access denied", "Disk full", "Range check error", and
// "I/O error %d" for every code without a message of its own.
QString ioMessage(int code);

// The program code for a system error number (errno): ENOENT, ENOTDIR 2; ENAMETOOLONG,
// EINVAL 3; EMFILE, ENFILE 4; EACCES, EPERM, EROFS, EISDIR 5; ENOSPC, EDQUOT 101;
// EEXIST 183; EBUSY, ETXTBSY 32; EIO 1117; any other kSystemErrorBase + errno.
int codeFromErrno(int err);

// what() is the message in UTF-8.
class IoError : public std::runtime_error {
 public:
  explicit IoError(int code);
  int code() const { return code_; }
  QString message() const { return ioMessage(code_); }

 private:
  int code_;
};

// Throws the IoError for the system error number `err`.
[[noreturn]] void throwErrno(int err);

}  // namespace store
