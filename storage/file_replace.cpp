// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <optional>
#include <utility>

#include "storage/io_error.h"
#include "storage/posix_file.h"

namespace kestrova {

namespace {

constexpr int kFileAccessDenied = 5;
constexpr int kTemporaryNameAttempts = 100;

// The file to replace: `path` itself, or the file a symbolic link at `path`
// points to, so that the rename does not turn the link into a file.
std::string ReplacedPath(const std::string& path) {
  struct stat linkInfo {};
  if (::lstat(path.c_str(), &linkInfo) != 0 || !S_ISLNK(linkInfo.st_mode)) {
    return path;
  }
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) {
    ThrowIoErrorFromErrno(errno);
  }
  return resolved;
}

// The existing target's permission bits, or nothing when there is no target.
std::optional<mode_t> CheckedExistingTarget(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT) {
      return std::nullopt;
    }
    ThrowIoErrorFromErrno(errno);
  }
  const bool readOnly = (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
  if (!S_ISREG(info.st_mode) || readOnly) {
    throw IoError(kFileAccessDenied);
  }
  return info.st_mode & 07777;
}

// Removes the new file unless the replacement went through.
class TemporaryFileGuard final {
 public:
  explicit TemporaryFileGuard(std::string path) : path_(std::move(path)) {}
  ~TemporaryFileGuard() {
    if (!released_) {
      ::unlink(path_.c_str());
    }
  }
  TemporaryFileGuard(const TemporaryFileGuard&) = delete;
  TemporaryFileGuard& operator=(const TemporaryFileGuard&) = delete;

  const std::string& Path() const { return path_; }
  void Release() { released_ = true; }

 private:
  std::string path_;
  bool released_ = false;
};

// Whether a failed create or rename says that the folder refuses the change
// (no write permission on it, or a sticky folder guarding a file we do not
// own) rather than that something is wrong with the disk or the name.
bool FolderRefuses(int errnoValue) { return errnoValue == EACCES || errnoValue == EPERM; }

// Creates a file beside `target` that no one else uses. Two programs sharing
// the working folder may save at the same time, so the name carries the
// process id and O_EXCL guards against a stale file left by a crash.
// Returns -1, errno kept, when the folder refuses a new file.
int CreateTemporaryBeside(const std::string& target, std::string& name) {
  const std::string stem = target + ".tmp-" + std::to_string(::getpid()) + "-";
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    name = stem + std::to_string(attempt);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      return fd;
    }
    if (errno == EINTR) {
      --attempt;
      continue;
    }
    if (FolderRefuses(errno)) {
      return -1;
    }
    if (errno != EEXIST) {
      // With O_CREAT, a missing entry can only be the folder.
      if (errno == ENOENT) {
        throw IoError(3);
      }
      ThrowIoErrorFromErrno(errno);
    }
  }
  ThrowIoErrorFromErrno(EEXIST);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    return ".";
  }
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable; the content is already safe either way,
// so a folder that cannot be synced is not reported.
void SyncFolderQuietly(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// The most of an old file that an in-place rewrite keeps aside to put
// back after a failure; "data.dat" holds a few hundred bytes.
constexpr std::size_t kMostRestored = 64 * 1024;

// All of `fd`'s content from its start, or nothing when it is longer than
// kMostRestored or cannot be read.
std::optional<std::string> ContentToRestore(int fd) {
  std::string content;
  char buffer[4096];
  for (;;) {
    const ssize_t count = ::pread(fd, buffer, sizeof buffer, static_cast<off_t>(content.size()));
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0 || content.size() + static_cast<std::size_t>(count) > kMostRestored) {
      return std::nullopt;
    }
    if (count == 0) {
      return content;
    }
    content.append(buffer, static_cast<std::size_t>(count));
  }
}

// Writes `bytes` over the whole of `fd` and flushes them to the disk.
void WriteWhole(PosixFile& file, std::string_view bytes) {
  if (::ftruncate(file.Fd(), 0) != 0 || ::lseek(file.Fd(), 0, SEEK_SET) != 0) {
    ThrowIoErrorFromErrno(errno);
  }
  file.WriteAll(bytes);
  if (::fsync(file.Fd()) != 0) {
    ThrowIoErrorFromErrno(errno);
  }
}

// Truncates the existing `target` and writes `bytes` into it, flushed to
// the disk before it is closed. When that fails (a full disk), the old
// content goes back in, where it was readable and small enough to keep
// aside, so the file stays as it was; the failure is still reported.
void RewriteInPlace(const std::string& target, std::string_view bytes) {
  int fd = -1;
  do {
    fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) {
    // A file we may write but not read is rewritten without a way back.
    PosixFile file(target, O_WRONLY | O_TRUNC | O_CLOEXEC);
    file.WriteAll(bytes);
    if (::fsync(file.Fd()) != 0) {
      ThrowIoErrorFromErrno(errno);
    }
    file.Close();
    return;
  }
  PosixFile file(fd);
  const std::optional<std::string> old = ContentToRestore(file.Fd());
  try {
    WriteWhole(file, bytes);
  } catch (const IoError&) {
    if (old) {
      try {
        WriteWhole(file, *old);
      } catch (const IoError&) {
        // The first failure is the one to report.
      }
    }
    throw;
  }
  file.Close();
}

}  // namespace

void ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::optional<mode_t> oldMode = CheckedExistingTarget(path);
  const std::string target = oldMode ? ReplacedPath(path) : path;

  std::string temporaryName;
  const int fd = CreateTemporaryBeside(target, temporaryName);
  if (fd < 0) {
    // A folder that takes no new file can still hold a writable file; a
    // plain save succeeds there, so this one must too.
    if (!oldMode) {
      ThrowIoErrorFromErrno(errno);
    }
    RewriteInPlace(target, bytes);
    return;
  }
  {
    TemporaryFileGuard guard(temporaryName);
    PosixFile file(fd);
    if (oldMode && ::fchmod(file.Fd(), *oldMode) != 0) {
      ThrowIoErrorFromErrno(errno);
    }
    file.WriteAll(bytes);
    if (::fsync(file.Fd()) != 0) {
      ThrowIoErrorFromErrno(errno);
    }
    file.Close();
    if (::rename(guard.Path().c_str(), target.c_str()) == 0) {
      guard.Release();
      SyncFolderQuietly(FolderOf(target));
      return;
    }
    if (!FolderRefuses(errno) || !oldMode) {
      ThrowIoErrorFromErrno(errno);
    }
  }
  // The new file is gone again; the old one is ours to write, only not to
  // replace.
  RewriteInPlace(target, bytes);
}

}  // namespace kestrova
