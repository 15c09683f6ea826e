// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

extern char** environ;

namespace kestrova::test {

namespace {

using namespace std::chrono_literals;

constexpr auto kDisplayPatience = 20s;  // Xvfb on a busy machine

// `text` as one shell word.
std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

std::string ReadAll(FILE* stream) {
  std::string bytes;
  char buffer[65536];
  for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, stream)) > 0;) bytes.append(buffer, read);
  return bytes;
}

// The display number that Xvfb writes to `fd` ("-displayfd") as ":N";
// empty when none comes in time.
std::string ReadDisplayNumber(int fd) {
  std::string number;
  const auto end = std::chrono::steady_clock::now() + kDisplayPatience;
  while (std::chrono::steady_clock::now() < end) {
    pollfd ready{fd, POLLIN, 0};
    if (::poll(&ready, 1, 200) <= 0) continue;
    char c = 0;
    if (::read(fd, &c, 1) != 1) break;
    if (c == '\n') return ":" + number;
    number.push_back(c);
  }
  return {};
}

}  // namespace

bool ToolOnPath(const std::string& tool) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (!folder.empty() && ::access((folder + "/" + tool).c_str(), X_OK) == 0) return true;
  }
  return false;
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides) {
  std::vector<std::string> result(overrides);
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string variable(*entry);
    const std::string name = variable.substr(0, variable.find('=') + 1);
    const bool replaced =
        std::any_of(overrides.begin(), overrides.end(), [&](const std::string& o) { return o.rfind(name, 0) == 0; });
    if (!replaced) result.push_back(variable);
  }
  return result;
}

SpawnedProgram::SpawnedProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                               const std::filesystem::path& folder, const std::filesystem::path& log, int keepOpen) {
  std::vector<char*> argv;
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (const auto& variable : environment) envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addclosefrom_np(&actions, std::max(STDERR_FILENO, keepOpen) + 1);
  // Its own process group, so that a terminal's Ctrl+C reaches the test
  // alone and the destructor still stops the child.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  const int failed = ::posix_spawnp(&pid_, argv[0], &actions, &attributes, argv.data(), envp.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) pid_ = -1;
}

SpawnedProgram::~SpawnedProgram() {
  if (pid_ <= 0 || !Running()) return;
  ::kill(pid_, SIGTERM);
  if (WaitUntil([this] { return !Running(); }, 5s, 20ms)) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  ::waitpid(pid_, &status, 0);
}

bool SpawnedProgram::Running() {
  if (pid_ <= 0 || ended_) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) ended_ = true;
  return !ended_;
}

RgbImage::Pixel RgbImage::At(int x, int y) const {
  const std::size_t at =
      (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
  return Pixel{bytes[at], bytes[at + 1], bytes[at + 2]};
}

RgbImage ParsePpm(const std::string& ppm) {
  // Header: "P6", width, height, maximum value, each after white space
  // (and "#" comments), then one white-space byte before the pixels.
  std::size_t at = 0;
  auto skipSpace = [&] {
    while (at < ppm.size() && (std::isspace(static_cast<unsigned char>(ppm[at])) || ppm[at] == '#')) {
      if (ppm[at] == '#') {
        while (at < ppm.size() && ppm[at] != '\n') ++at;
      } else {
        ++at;
      }
    }
  };
  auto number = [&]() -> long {
    skipSpace();
    long value = 0;
    const std::size_t first = at;
    while (at < ppm.size() && ppm[at] >= '0' && ppm[at] <= '9' && value < 100000)
      value = value * 10 + (ppm[at++] - '0');
    return at > first ? value : -1;
  };
  if (ppm.compare(0, 2, "P6") != 0) return {};
  at = 2;
  const long width = number();
  const long height = number();
  const long maximum = number();
  if (width <= 0 || height <= 0 || maximum != 255 || at >= ppm.size()) return {};
  ++at;
  const std::size_t size = static_cast<std::size_t>(width * height * 3);
  if (ppm.size() - at < size) return {};
  RgbImage image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.bytes.assign(ppm.begin() + static_cast<std::ptrdiff_t>(at),
                     ppm.begin() + static_cast<std::ptrdiff_t>(at + size));
  return image;
}

std::string XSession::Unavailable() {
  const char* display = std::getenv("DISPLAY");
  if (ToolOnPath("Xvfb") || (display != nullptr && *display != '\0')) return {};
  return "no X display: DISPLAY is not set and Xvfb is not installed (scripts/install-deps.sh installs it)";
}

XSession::XSession(const std::filesystem::path& folder, const std::filesystem::path& log) {
  if (!ToolOnPath("Xvfb")) {
    const char* display = std::getenv("DISPLAY");
    display_ = display != nullptr ? display : "";
    if (display_.empty()) problem_ = Unavailable();
    return;
  }
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) {
    problem_ = "no pipe for Xvfb's display number";
    return;
  }
  // Only the writing end goes to Xvfb, which names its display there.
  ::fcntl(fds[1], F_SETFD, 0);
  server_.emplace(std::vector<std::string>{"Xvfb", "-noreset", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1280x1024x24",
                                           "-nolisten", "tcp"},
                  EnvironmentWith({}), folder, log, fds[1]);
  ::close(fds[1]);
  display_ = ReadDisplayNumber(fds[0]);
  ::close(fds[0]);
  if (display_.empty()) {
    problem_ = "Xvfb did not start; see " + log.string();
    server_.reset();
  }
}

std::vector<std::string> XSession::Environment() const {
  return EnvironmentWith({"DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb"});
}

std::string XSession::Run(const std::string& command) const {
  FILE* pipe = ::popen(("DISPLAY=" + Quoted(display_) + " " + command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return {};
  std::string output = ReadAll(pipe);
  ::pclose(pipe);
  return output;
}

std::string XSession::FindWindow(pid_t pid, const std::string& title) const {
  const std::string ids = Run("xdotool search --all --onlyvisible --pid " + std::to_string(pid) + " --name " + Quoted(title));
  return ids.substr(0, ids.find('\n'));
}

void XSession::ClickAt(const std::string& window, int x, int y) const {
  Run("xdotool mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

RgbImage XSession::Capture(const std::string& window) const {
  return ParsePpm(Run("import -window " + window + " -depth 8 ppm:-"));
}

void XSession::SavePng(const std::string& window, const std::filesystem::path& file) const {
  Run("import -window " + window + " " + Quoted(file.string()));
}

WindowManager::WindowManager(const XSession& session, const std::filesystem::path& folder,
                             const std::filesystem::path& log) {
  ready_ = WaitUntil(
      [&] {
        // A window manager that connects while the display is still coming
        // up fails; it is started again.
        if (!process_ || !process_->Running()) {
          process_.reset();
          process_.emplace(std::vector<std::string>{"openbox", "--sm-disable"}, session.Environment(), folder, log);
        }
        return session.Run("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") != std::string::npos;
      },
      kDisplayPatience);
}

PrivateBus::PrivateBus(const std::filesystem::path& folder) {
  // Routes only: no service folders; anyone may send, receive and own.
  std::ofstream(folder / "bus.conf") << "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>"
                                        "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                                        "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy></busconfig>\n";
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) return;
  ::fcntl(fds[1], F_SETFD, 0);
  daemon_.emplace(std::vector<std::string>{"dbus-daemon", "--nofork", "--config-file=" + (folder / "bus.conf").string(),
                                           "--print-address=" + std::to_string(fds[1])},
                  EnvironmentWith({}), folder, folder / "dbus-daemon.log", fds[1]);
  ::close(fds[1]);
  // One line; a daemon that fails closes the pipe.
  FILE* address = ::fdopen(fds[0], "r");
  char line[512] = "";
  if (std::fgets(line, sizeof line, address) != nullptr) address_.assign(line, std::strcspn(line, "\n"));
  std::fclose(address);
}

}  // namespace kestrova::test
