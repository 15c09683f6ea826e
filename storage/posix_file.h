// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrova {

// An open file descriptor that is closed when the object goes, whatever
// path the operation took. Every failing call throws IoError.
class PosixFile final {
 public:
  // Opens `path` with open(2)'s `flags` and `mode`. A file that is to be
  // created in a folder that does not exist fails as 3 "Invalid filename"
  // (the path is wrong, not the file missing); other failures map their errno.
  PosixFile(const std::string& path, int flags, mode_t mode = 0);
  // Takes over a descriptor that is already open.
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile();
  PosixFile(const PosixFile&) = delete;
  PosixFile& operator=(const PosixFile&) = delete;

  int Fd() const { return fd_; }

  // Up to `size` bytes into `buffer`; 0 at the end of the file.
  std::size_t Read(char* buffer, std::size_t size);

  // Writes all of `bytes`. A write that makes no progress is 101 "Disk full".
  void WriteAll(std::string_view bytes);

  // Closes now and reports a failed close; the destructor then does nothing.
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace kestrova
