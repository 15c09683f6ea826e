// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// File permissions bind only a process without superuser rights. These
// helpers run a piece of a test as such a process, so that the tests of
// folders we may not write or search also hold when the suite runs as root.

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kestrova::test {

// The user the superuser becomes for the body ("nobody").
inline constexpr uid_t kUnprivilegedId = 65534;

// Hands `path` to the user that RunUnprivileged runs as (a no-op unless we
// are the superuser) and gives it `mode`.
inline void GiveToUnprivileged(const std::filesystem::path& path, mode_t mode) {
  if (::geteuid() == 0) {
    // A hand-over that fails shows in the test that needed it.
    [[maybe_unused]] const int handed = ::chown(path.c_str(), kUnprivilegedId, kUnprivilegedId);
  }
  ::chmod(path.c_str(), mode);
}

// Runs `body` in a child process without superuser rights: as root, the
// child becomes "nobody"; any other user runs it as itself. Returns what
// `body` returned, or nothing when the rights could not be given up or the
// child did not end normally.
inline std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
    return std::nullopt;
  }
  const pid_t child = ::fork();
  if (child < 0) {
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    return std::nullopt;
  }
  if (child == 0) {
    ::close(pipeFds[0]);
    if (::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 || ::setuid(kUnprivilegedId) != 0)) {
      ::_exit(2);
    }
    const std::string result = body();
    const bool written = ::write(pipeFds[1], result.data(), result.size()) == static_cast<ssize_t>(result.size());
    ::_exit(written ? 0 : 3);
  }
  ::close(pipeFds[1]);
  std::string result;
  char buffer[4096];
  for (ssize_t count; (count = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
    result.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return std::nullopt;
  }
  return result;
}

}  // namespace kestrova::test
