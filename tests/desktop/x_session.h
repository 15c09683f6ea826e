// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers for tests that drive the programs' real windows on an X display:
// child processes that are always stopped, a display of the test's own, and
// the user's actions and the screen as xdotool and ImageMagick's import see
// them.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::test {

// Whether an executable named `tool` is on PATH.
bool ToolOnPath(const std::string& tool);

// Polls `condition` every `step` until it holds (true) or `limit` has
// passed (false).
template <typename Condition>
bool WaitUntil(Condition condition, std::chrono::milliseconds limit,
               std::chrono::milliseconds step = std::chrono::milliseconds(100)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(step);
  }
  return true;
}

// The current environment with `overrides` ("NAME=value") in place of the
// variables of the same names.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& overrides);

// A program run as a child process in its own working folder, with
// standard input from /dev/null and standard output and error written to
// a log file. The object owns the process: it is stopped (SIGTERM, SIGKILL
// when it does not end within 5 s) and reaped when the object goes.
class SpawnedProgram final {
 public:
  // Starts arguments[0] (a path, or a name looked up on PATH). The child
  // inherits the descriptor `keepOpen` (-1: none) and no other beyond the
  // standard three. Started() is false when the program could not be run.
  SpawnedProgram(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
                 const std::filesystem::path& folder, const std::filesystem::path& log, int keepOpen = -1);
  ~SpawnedProgram();
  SpawnedProgram(const SpawnedProgram&) = delete;
  SpawnedProgram& operator=(const SpawnedProgram&) = delete;

  bool Started() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  // Whether the program still runs; reaps it once it has ended.
  bool Running();

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
};

// A screenshot in 8-bit RGB, rows from the top.
struct RgbImage final {
  struct Pixel {
    int r = 0, g = 0, b = 0;
  };
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bytes;  // width * height * 3

  bool Empty() const { return width <= 0 || height <= 0; }
  // The pixel at (x, y); (x, y) must lie inside the image.
  Pixel At(int x, int y) const;
};

// Reads a binary PPM ("P6", maximum value 255); an empty image when `ppm`
// is not one.
RgbImage ParsePpm(const std::string& ppm);

// An X display for a test's windows. When Xvfb is installed the session
// starts a private one, so that tests running side by side never share a
// screen (a click meant for one window cannot land on another) and nothing
// appears on the user's desktop; otherwise it uses the display in DISPLAY.
// The private display goes with the object.
class XSession final {
 public:
  // Why no display can be had (neither Xvfb nor DISPLAY); empty when one
  // can.
  static std::string Unavailable();

  // Starts the private display, if any, in `folder` with its output
  // written to `log`.
  XSession(const std::filesystem::path& folder, const std::filesystem::path& log);

  // Empty when the session can be used; otherwise what went wrong.
  const std::string& Problem() const { return problem_; }
  const std::string& Display() const { return display_; }
  // The environment for a program that shows its windows here.
  std::vector<std::string> Environment() const;

  // The standard output of a shell command run against this display.
  std::string Run(const std::string& command) const;

  // The X id (decimal) of the first mapped window of process `pid` whose
  // title matches the extended regular expression `title`; empty when none.
  std::string FindWindow(pid_t pid, const std::string& title) const;
  // Moves the pointer to (x, y) inside `window` and clicks button 1.
  void ClickAt(const std::string& window, int x, int y) const;
  // The window's content as it is on screen; empty when it cannot be read.
  RgbImage Capture(const std::string& window) const;
  // Saves the window's content as a PNG file (for a person to look at).
  void SavePng(const std::string& window, const std::filesystem::path& file) const;

 private:
  std::string problem_;
  std::string display_;
  std::optional<SpawnedProgram> server_;
};

// A window manager (openbox) on an XSession's display, which activates
// windows, gives them the focus and stacks dialogs as a desktop does. It is
// stopped when the object goes.
class WindowManager final {
 public:
  // Starts openbox in `folder` with its output written to `log` and waits,
  // bounded, until it manages the display.
  WindowManager(const XSession& session, const std::filesystem::path& folder, const std::filesystem::path& log);

  // Whether it manages the display.
  bool Ready() const { return ready_; }

 private:
  bool ready_ = false;
  std::optional<SpawnedProgram> process_;
};

// dbus-daemon as a session bus of the test's own that starts no services
// on demand: a call to a name nobody owns fails at once, and no
// notification daemon of the machine pops up. Address() is empty when it
// did not start; it is stopped when the object goes.
class PrivateBus final {
 public:
  explicit PrivateBus(const std::filesystem::path& folder);
  const std::string& Address() const { return address_; }

 private:
  std::string address_;
  std::optional<SpawnedProgram> daemon_;
};

}  // namespace kestrova::test
