// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace kestrova {

// A failed file operation. Codes: 2 "File not found", 3 "Invalid filename",
// 4 "Too many open files", 5 "File access denied", 100 "Read beyond end of
// file", 101 "Disk full", 106 "Invalid numeric input", any other code
// "I/O error CODE".
class IoError final : public std::runtime_error {
 public:
  explicit IoError(int code);
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

std::string IoErrorMessage(int code);

// The I/O code that stands for a POSIX errno value: ENOENT 2; ENOTDIR,
// ENAMETOOLONG, ELOOP, EINVAL 3; EMFILE, ENFILE 4; EACCES, EPERM, EROFS,
// EISDIR 5; ENOSPC, EDQUOT 101. Any other value is returned unchanged unless
// its number is one of the codes above with a message of their own (EIO is
// 5, EINTR 4, ...): those become 1117, the number the original platform gives
// to a device I/O error, so that no failure ever reads as a different one.
int IoCodeFromErrno(int errnoValue);

// IoError for the errno of the call that just failed.
[[noreturn]] void ThrowIoErrorFromErrno(int errnoValue);

}  // namespace kestrova
