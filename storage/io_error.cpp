// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/io_error.h"

#include <cerrno>

namespace kestrova {

namespace {

// Reported for errno values whose own number would read as one of the named
// failures: ERROR_IO_DEVICE on the platform the codes come from.
constexpr int kUnlistedFailure = 1117;

bool HasOwnMessage(int code) {
  switch (code) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 100:
    case 101:
    case 106:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string IoErrorMessage(int code) {
  switch (code) {
    case 2:
      return "File not found";
    case 3:
      return "Invalid filename";
    case 4:
      return "Too many open files";
    case 5:
      return "File access denied";
    case 100:
      return "Read beyond end of file";
    case 101:
      return "Disk full";
    case 106:
      return "Invalid numeric input";
    default:
      return "I/O error " + std::to_string(code);
  }
}

IoError::IoError(int code) : std::runtime_error(IoErrorMessage(code)), code_(code) {}

int IoCodeFromErrno(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
      return 2;
    case ENAMETOOLONG:
    case ENOTDIR:
    case ELOOP:
    case EINVAL:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
    // Opening a folder as a file is refused as access denied, which is how
    // the platform of the original reports it.
    case EISDIR:
      return 5;
    case ENOSPC:
    case EDQUOT:
      return 101;
    default:
      return HasOwnMessage(errnoValue) ? kUnlistedFailure : errnoValue;
  }
}

void ThrowIoErrorFromErrno(int errnoValue) { throw IoError(IoCodeFromErrno(errnoValue)); }

}  // namespace kestrova
