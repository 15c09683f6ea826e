// SPDX-License-Identifier: GPL-3.0-or-later
// The program's tray icon on a real X desktop: a private Xvfb display with
// a window manager (openbox) and a notification area (trayer), the built
// program started in a temporary folder, and the user's actions played by
// xdotool. Each test has its own display, so it neither disturbs the
// user's desktop nor meets other tests' windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/x_session.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 20s;  // a bound only: the machine may be busy

template <typename Condition>
bool WaitFor(Condition condition) {
  return WaitUntil(condition, kPatience);
}

// One window as xwininfo's tree shows it.
struct TreeWindow {
  int depth = 0;  // indentation
  std::string id;
  std::string line;
  int x = 0, y = 0, width = 0, height = 0;  // absolute position
};

std::vector<TreeWindow> ParseTree(const std::string& tree) {
  static const std::regex kLine(R"(^(\s*)(0x[0-9a-f]+) .*  (\d+)x(\d+)\+-?\d+\+-?\d+  \+(-?\d+)\+(-?\d+)\s*$)");
  std::vector<TreeWindow> windows;
  std::istringstream lines(tree);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, kLine)) continue;
    windows.push_back(TreeWindow{static_cast<int>(match[1].length()), match[2], line, std::stoi(match[5]),
                                 std::stoi(match[6]), std::stoi(match[3]), std::stoi(match[4])});
  }
  return windows;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// The test's own X display with a window manager (openbox) and, on
// demand, a notification area (trayer).
class TrayDesktop final {
 public:
  // Runs the processes in `folder` and writes their output to files
  // named `logs` + "<process>.log".
  TrayDesktop(const std::filesystem::path& folder, const std::string& logs)
      : folder_(folder), logs_(logs), session_(folder, logs + "xvfb.log") {
    if (!session_.Problem().empty()) return;
    windowManager_.emplace(session_, folder_, logs_ + "openbox.log");
    ready_ = windowManager_->Ready();
  }

  bool Ready() const { return ready_; }
  std::vector<std::string> Environment() const { return session_.Environment(); }
  std::string Run(const std::string& command) const { return session_.Run(command); }

  // Starts trayer, docked at the top right, and waits until it is there.
  bool StartNotificationArea() {
    notificationArea_.emplace(
        std::vector<std::string>{"trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                                 "--heighttype", "pixel", "--height", "24", "--expand", "true"},
        session_.Environment(), folder_, logs_ + "trayer.log");
    return WaitFor([this] { return Panel().has_value(); });
  }

  std::vector<TreeWindow> Tree() const { return ParseTree(Run("xwininfo -root -tree")); }

  // trayer's panel, where the icons are embedded.
  std::optional<TreeWindow> Panel() const {
    for (const auto& window : Tree()) {
      if (window.line.find(kPanelClass) != std::string::npos) return window;
    }
    return std::nullopt;
  }

  // The program's icon embedded in the panel: a window of the program's
  // class below the panel.
  std::optional<TreeWindow> TrayIcon() const {
    const auto tree = Tree();
    for (std::size_t panel = 0; panel < tree.size(); ++panel) {
      if (tree[panel].line.find(kPanelClass) == std::string::npos) continue;
      for (std::size_t below = panel + 1; below < tree.size() && tree[below].depth > tree[panel].depth; ++below) {
        if (Lower(tree[below].line).find("\"kestrova\")") != std::string::npos && tree[below].width > 0) {
          return tree[below];
        }
      }
    }
    return std::nullopt;
  }

  void Screenshot(const std::filesystem::path& file) const {
    if (ToolOnPath("import")) session_.SavePng("root", file);
  }

 private:
  static constexpr const char* kPanelClass = "(\"panel\" \"trayer\")";

  std::filesystem::path folder_;
  std::string logs_;
  bool ready_ = false;
  // Stopped in the reverse order: the notification area, the window
  // manager, then the display.
  XSession session_;
  std::optional<WindowManager> windowManager_;
  std::optional<SpawnedProgram> notificationArea_;
};

std::string HexId(const std::string& decimal) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", std::stoul(decimal));
  return text;
}

class TrayDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef KESTROVA_PATH
    GTEST_SKIP() << "the kestrova program is not built";
#else
    // Xvfb too: a window manager and a panel must not start on the user's
    // own desktop.
    for (const char* tool : {"Xvfb", "openbox", "trayer", "xdotool", "xwininfo", "xprop"}) {
      if (!ToolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
    }
    // Screenshots and the processes' output stay for a look after the run.
    outputs_ = std::filesystem::current_path() / "desktop-output";
    std::filesystem::create_directories(outputs_);
    logs_ = (outputs_ / ::testing::UnitTest::GetInstance()->current_test_info()->name()).string() + "-";
    desktop_.emplace(folder_.Path(), logs_);
    ASSERT_TRUE(desktop_->Ready()) << "no X display with a window manager; see " << logs_ << "*.log";
#endif
  }

  // Starts the program in its own working folder and waits for its window.
  void StartProgram() {
#ifdef KESTROVA_PATH
    // The tray menu's notification items write their choices into the
    // configuration folder: this run keeps its own.
    std::vector<std::string> environment = desktop_->Environment();
    std::erase_if(environment, [](const std::string& entry) { return entry.starts_with("XDG_CONFIG_HOME="); });
    environment.push_back("XDG_CONFIG_HOME=" + (work_.Path() / "config").string());
    // A session bus without a StatusNotifierWatcher: the XEmbed tray is the
    // one there is, whatever the machine's own session offers.
    std::erase_if(environment, [](const std::string& entry) { return entry.starts_with("DBUS_SESSION_BUS_ADDRESS="); });
    if (ToolOnPath("dbus-daemon")) {
      bus_.emplace(folder_.Path());
      environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus_->Address());
    }
    program_.emplace(std::vector<std::string>{KESTROVA_PATH}, environment, work_.Path(), logs_ + "kestrova.log");
    ASSERT_TRUE(program_->Started());
    ASSERT_TRUE(WaitFor([this] {
      // --all: without it xdotool takes any window of the process, the
      // tray icon's among them.
      window_ = FirstLine(desktop_->Run("xdotool search --onlyvisible --all --pid " + std::to_string(program_->Pid()) +
                                        " --name '^Kestrova by ZLX$'"));
      return !window_.empty() && Viewable();
    })) << "the main window did not appear";
#endif
  }

  static std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

  bool Viewable() const { return desktop_->Run("xwininfo -id " + window_).find("IsViewable") != std::string::npos; }
  // The ICCCM state the window manager gives the window: "Normal",
  // "Iconic", or "" when it has none (withdrawn, as a hidden window is).
  std::string WmState() const {
    const std::string text = desktop_->Run("xprop -id " + window_ + " WM_STATE");
    for (const char* state : {"Normal", "Iconic", "Withdrawn"}) {
      if (text.find(std::string("window state: ") + state) != std::string::npos) return state;
    }
    return "";
  }
  // Whether the window manager lists the window, as a taskbar does.
  bool Listed() const {
    const std::string list = desktop_->Run("xprop -root _NET_CLIENT_LIST") + ",";
    const std::string id = HexId(window_);
    return list.find(id + ",") != std::string::npos || list.find(id + "\n") != std::string::npos;
  }
  void Minimize() const { desktop_->Run("xdotool windowminimize " + window_); }
  void ClickOn(const TreeWindow& target, int button, int repeat = 1) const {
    desktop_->Run("xdotool mousemove " + std::to_string(target.x + target.width / 2) + " " +
                  std::to_string(target.y + target.height / 2) + " click --repeat " + std::to_string(repeat) +
                  " --delay 80 " + std::to_string(button));
  }
  // The program's mapped windows, by decimal id.
  std::set<std::string> VisibleProgramWindows() const {
    std::set<std::string> ids;
    std::istringstream lines(desktop_->Run("xdotool search --onlyvisible --class kestrova"));
    for (std::string id; std::getline(lines, id);) ids.insert(id);
    return ids;
  }
  // What the checks see, for failure messages.
  std::string State() const {
    return "viewable " + std::to_string(Viewable()) + ", WM_STATE '" + WmState() + "', listed " +
           std::to_string(Listed());
  }
  bool HiddenInTray() const { return !Viewable() && WmState().empty() && !Listed(); }
  bool ShownNormally() const { return Viewable() && WmState() == "Normal" && Listed(); }

  TempDir folder_;  // where the desktop's processes run
  TempDir work_;    // the program's working folder
  std::filesystem::path outputs_;
  std::string logs_;
  std::optional<TrayDesktop> desktop_;
  std::optional<PrivateBus> bus_;
  std::optional<SpawnedProgram> program_;  // stopped before the desktop and the bus
  std::string window_;
};

TEST_F(TrayDesktopTest, MinimisingHidesIntoTheTrayAndTheIconBringsTheWindowBack) {
  ASSERT_TRUE(desktop_->StartNotificationArea()) << "trayer did not start";
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  std::optional<TreeWindow> icon;
  ASSERT_TRUE(WaitFor([&] { return (icon = desktop_->TrayIcon()).has_value(); }))
      << "no icon in the notification area:\n"
      << desktop_->Run("xwininfo -root -tree");
  ASSERT_TRUE(WaitFor([this] { return ShownNormally(); })) << State();
  desktop_->Screenshot(outputs_ / "tray-1-start.png");

  Minimize();
  EXPECT_TRUE(WaitFor([this] { return HiddenInTray(); })) << "after minimising: " << State();
  EXPECT_TRUE(desktop_->TrayIcon().has_value()) << "the icon stays";
  desktop_->Screenshot(outputs_ / "tray-2-minimised.png");

  ClickOn(*icon, 1);
  EXPECT_TRUE(WaitFor([this] { return ShownNormally(); }))
      << "a click on the icon did not bring the window back: " << State();
  desktop_->Screenshot(outputs_ / "tray-3-restored.png");

  Minimize();
  ASSERT_TRUE(WaitFor([this] { return HiddenInTray(); })) << State();
  ClickOn(*icon, 1, 2);
  EXPECT_TRUE(WaitFor([this] { return ShownNormally(); }))
      << "a double-click did not bring the window back: " << State();

  // A right click opens the menu and leaves the window as it is; its last
  // item, "Exit Kestrova", ends the program and takes the icon away.
  const std::set<std::string> before = VisibleProgramWindows();
  ClickOn(*icon, 3);
  std::optional<TreeWindow> menu;
  ASSERT_TRUE(WaitFor([&] {
    for (const auto& id : VisibleProgramWindows()) {
      if (before.count(id) != 0) continue;
      for (const auto& window : desktop_->Tree()) {
        if (window.id == HexId(id)) menu = window;
      }
    }
    return menu.has_value();
  })) << "no menu opened";
  desktop_->Screenshot(outputs_ / "tray-4-menu.png");
  EXPECT_TRUE(ShownNormally()) << "a right click changed the window: " << State();
  // Up from no item picks the last one, below the notification switches.
  desktop_->Run("xdotool key Up");
  desktop_->Screenshot(outputs_ / "tray-5-exit-item.png");
  desktop_->Run("xdotool key Return");
  EXPECT_TRUE(WaitFor([this] { return !program_->Running(); })) << "\"Exit Kestrova\" did not end the program";
  EXPECT_TRUE(WaitFor([this] { return !desktop_->TrayIcon().has_value(); })) << "the icon stayed";
}

TEST_F(TrayDesktopTest, WithoutANotificationAreaMinimisingKeepsTheWindowReachable) {
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  ASSERT_TRUE(WaitFor([this] { return ShownNormally(); })) << State();

  Minimize();
  EXPECT_TRUE(WaitFor([this] { return WmState() == "Iconic"; })) << "WM_STATE '" << WmState() << "'";
  EXPECT_TRUE(Listed()) << "the window left the taskbar with no tray to come back from: " << State();
  desktop_->Screenshot(outputs_ / "no-tray-minimised.png");

  desktop_->Run("xdotool windowactivate " + window_);
  EXPECT_TRUE(WaitFor([this] { return ShownNormally(); })) << "the taskbar could not bring the window back";
}

}  // namespace
}  // namespace kestrova::test
