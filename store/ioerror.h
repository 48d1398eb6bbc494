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
};

// "File not found", "File access denied", "Disk full", "I/O error %d", ...
QString ioMessage(int code);

// The program code for a system error number (errno).
int codeFromErrno(int err);

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
