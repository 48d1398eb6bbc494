#include "store/ioerror.h"

#include <cerrno>

namespace store {

QString ioMessage(int code) {
  switch (code) {
    case kFileNotFound:
      return QStringLiteral("File not found");
    case kInvalidFilename:
      return QStringLiteral("Invalid filename");
    case kTooManyOpenFiles:
      return QStringLiteral("Too many open files");
    case kAccessDenied:
      return QStringLiteral("File access denied");
    case kReadBeyondEnd:
      return QStringLiteral("Read beyond end of file");
    case kDiskFull:
      return QStringLiteral("Disk full");
    case kInvalidNumericInput:
      return QStringLiteral("Invalid numeric input");
    case kRangeCheck:
      return QStringLiteral("Range check error");
    default:
      return QStringLiteral("I/O error %1").arg(code);
  }
}

int codeFromErrno(int err) {
  switch (err) {
    case ENOENT:
    case ENOTDIR:
      return kFileNotFound;
    case ENAMETOOLONG:
    case EINVAL:
      return kInvalidFilename;
    case EMFILE:
    case ENFILE:
      return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:  // a folder stands where a file should be
      return kAccessDenied;
    case ENOSPC:
    case EDQUOT:
      return kDiskFull;
    case EEXIST:
      return kAlreadyExists;
    case EBUSY:
    case ETXTBSY:
      return kSharingViolation;
    case EIO:
      return kDeviceError;
    default:
      return kSystemErrorBase + err;
  }
}

IoError::IoError(int code) : std::runtime_error(ioMessage(code).toStdString()), code_(code) {}

void throwErrno(int err) {
  throw IoError(codeFromErrno(err));
}

}  // namespace store
