// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/working_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace kestrova {

namespace {

std::runtime_error FolderError(const std::filesystem::path& folder, const char* what, int error) {
  return std::runtime_error("The folder " + folder.string() + " " + what + ": " + std::strerror(error));
}

std::optional<std::string> HomeFromPasswordDatabase() {
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr ||
      found->pw_dir == nullptr || found->pw_dir[0] == '\0') {
    return std::nullopt;
  }
  return std::string(found->pw_dir);
}

}  // namespace

std::filesystem::path PerUserFolder(const EnvironmentLookup& environment) {
  // A relative XDG_DATA_HOME is invalid and ignored, as the XDG base
  // directory rules ask.
  if (const std::optional<std::string> dataHome = environment("XDG_DATA_HOME");
      dataHome && !dataHome->empty() && dataHome->front() == '/') {
    return std::filesystem::path(*dataHome) / "kestrova";
  }
  std::optional<std::string> home = environment("HOME");
  if (!home || home->empty()) {
    home = HomeFromPasswordDatabase();
  }
  if (!home) {
    throw std::runtime_error("The per-user folder cannot be found: neither XDG_DATA_HOME nor HOME is set");
  }
  return std::filesystem::path(*home) / ".local" / "share" / "kestrova";
}

void EnterWorkingFolder(const std::filesystem::path& folder, mode_t mode) {
  const std::filesystem::path absolute = std::filesystem::absolute(folder).lexically_normal();
  std::filesystem::path made;
  for (const std::filesystem::path& part : absolute) {
    made /= part;
    if (part.empty() || made == made.root_path()) {
      continue;
    }
    if (mkdir(made.c_str(), mode) == 0) {
      continue;
    }
    const int error = errno;
    struct stat status {};
    if (error != EEXIST) {
      throw FolderError(folder, "cannot be made", error);
    }
    if (stat(made.c_str(), &status) != 0) {
      throw FolderError(folder, "cannot be made", errno);
    }
    if (!S_ISDIR(status.st_mode)) {
      throw FolderError(folder, "cannot be made", ENOTDIR);
    }
  }
  if (chdir(absolute.c_str()) != 0) {
    throw FolderError(folder, "cannot be entered", errno);
  }
}

std::filesystem::path EnterFolderOption(const std::string& text, const EnvironmentLookup& environment) {
  if (!text.empty()) {
    EnterWorkingFolder(text, 0777);
    return text;
  }
  const std::filesystem::path folder = PerUserFolder(environment);
  EnterWorkingFolder(folder, 0700);
  return folder;
}

std::optional<std::string> ProcessEnvironment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) {
    return std::nullopt;
  }
  return std::string(value);
}

}  // namespace kestrova
