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

// The I/O code that stands for a POSIX errno value (ENOENT 2, EACCES 5,
// ENOSPC 101, ...); other values are returned unchanged.
int IoCodeFromErrno(int errnoValue);

}  // namespace kestrova
