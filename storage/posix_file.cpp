// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/posix_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "storage/io_error.h"

namespace kestrova {

PosixFile::PosixFile(const std::string& path, int flags, mode_t mode) {
  do {
    fd_ = ::open(path.c_str(), flags, mode);
  } while (fd_ < 0 && errno == EINTR);
  if (fd_ < 0) {
    if (errno == ENOENT && (flags & O_CREAT) != 0) {
      throw IoError(3);
    }
    ThrowIoErrorFromErrno(errno);
  }
}

PosixFile::~PosixFile() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

std::size_t PosixFile::Read(char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t count = ::read(fd_, buffer, size);
    if (count >= 0) {
      return static_cast<std::size_t>(count);
    }
    if (errno != EINTR) {
      ThrowIoErrorFromErrno(errno);
    }
  }
}

void PosixFile::WriteAll(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t count = ::write(fd_, bytes.data(), bytes.size());
    if (count < 0) {
      if (errno == EINTR) {
        continue;
      }
      ThrowIoErrorFromErrno(errno);
    }
    if (count == 0) {
      throw IoError(101);
    }
    bytes.remove_prefix(static_cast<std::size_t>(count));
  }
}

void PosixFile::Close() {
  if (fd_ < 0) {
    return;
  }
  const int fd = fd_;
  fd_ = -1;
  // On Linux the descriptor is released even when close reports EINTR, and
  // the bytes were already handed to the kernel, so that is no failure.
  if (::close(fd) != 0 && errno != EINTR) {
    ThrowIoErrorFromErrno(errno);
  }
}

}  // namespace kestrova
