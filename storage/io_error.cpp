#include "storage/io_error.h"

#include <cerrno>

namespace kestrova {

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
    case EISDIR:
    case EINVAL:
      return 3;
    case EMFILE:
    case ENFILE:
      return 4;
    case EACCES:
    case EPERM:
    case EROFS:
      return 5;
    case ENOSPC:
    case EDQUOT:
      return 101;
    default:
      return errnoValue;
  }
}

}  // namespace kestrova
