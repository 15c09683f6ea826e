// The window as screen readers meet it: the program on a private X display
// with a window manager, its accessibility bridge on a private AT-SPI bus
// (at-spi2-core's bus launcher inside a private session bus), and the
// tree read back over that bus by atspi_tree.py. F6 is played with
// xdotool and followed by the focused object on the bus.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "desktop/x_session.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 20s;  // a bound only: the machine may be busy
const char kBusLauncher[] = "/usr/libexec/at-spi-bus-launcher";
const char kPython[] = "/usr/bin/python3";  // Debian's, with python3-dbus

// The standard output of `command`.
std::string Output(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, read);
    ::pclose(pipe);
  }
  return output;
}

class AccessibilityBusTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef KESTROVA_PATH
    GTEST_SKIP() << "the kestrova program is not built";
#else
    if (!std::filesystem::exists(kBusLauncher)) GTEST_SKIP() << "at-spi2-core is not installed";
    if (Output(std::string(kPython) + " -c 'import dbus; print(1)' 2>/dev/null") != "1\n") {
      GTEST_SKIP() << "python3-dbus is not installed";
    }
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "dbus-daemon"}) {
      if (!ToolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
    }
    logs_ = (std::filesystem::current_path() / "desktop-output" / "AccessibilityBus-").string();
    std::filesystem::create_directories(std::filesystem::current_path() / "desktop-output");
    session_.emplace(folder_.Path(), logs_ + "xvfb.log");
    ASSERT_TRUE(session_->Problem().empty()) << session_->Problem();
    windowManager_.emplace(*session_, folder_.Path(), logs_ + "openbox.log");
    ASSERT_TRUE(windowManager_->Ready());

    const std::filesystem::path socket = folder_.Path() / "session-bus";
    bus_ = "DBUS_SESSION_BUS_ADDRESS=unix:path=" + socket.string();
    sessionBus_.emplace(std::vector<std::string>{"dbus-daemon", "--session", "--nofork", "--nopidfile",
                                                 "--address=unix:path=" + socket.string()},
                        EnvironmentWith({}), folder_.Path(), logs_ + "dbus.log");
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::exists(socket); }, kPatience));
    std::vector<std::string> environment = session_->Environment();
    environment.push_back(bus_);
    busLauncher_.emplace(std::vector<std::string>{kBusLauncher, "--launch-immediately"}, environment, folder_.Path(),
                         logs_ + "at-spi-bus-launcher.log");
    environment.push_back("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1");
    environment.push_back("XDG_CONFIG_HOME=" + (folder_.Path() / "config").string());
    program_.emplace(std::vector<std::string>{KESTROVA_PATH, "--folder", folder_.Path().string()}, environment,
                     folder_.Path(), logs_ + "kestrova.log");
    ASSERT_TRUE(program_->Started());
#endif
  }

  // The program's tree as the bus shows it; empty until it is registered.
  std::string Tree() const {
    return Output(bus_ + " " + kPython + " " + KESTROVA_SOURCE_DIR "/tests/desktop/atspi_tree.py Kestrova 2>/dev/null");
  }

  // The line of the object with this role and name, without its indent.
  std::optional<std::string> Line(const std::string& tree, const std::string& role, const std::string& name) const {
    std::istringstream lines(tree);
    for (std::string line; std::getline(lines, line);) {
      line.erase(0, line.find_first_not_of(' '));
      if (line.rfind(role + "\t" + name + "\t", 0) == 0) return line;
    }
    return std::nullopt;
  }

  bool Focused(const std::string& role, const std::string& name) const {
    const auto line = Line(Tree(), role, name);
    return line && line->ends_with("\tfocused");
  }

  TempDir folder_;
  std::string logs_;
  std::string bus_;
  // Stopped in the reverse order: the program, the buses, the desktop.
  std::optional<XSession> session_;
  std::optional<WindowManager> windowManager_;
  std::optional<SpawnedProgram> sessionBus_;
  std::optional<SpawnedProgram> busLauncher_;
  std::optional<SpawnedProgram> program_;
};

TEST_F(AccessibilityBusTest, ScreenReadersReadTheNamesAndFollowF6) {
  std::string tree;
  ASSERT_TRUE(WaitUntil([&] { return Line(tree = Tree(), "tree", "Players").has_value(); }, kPatience))
      << "the window never showed on the bus; see " << logs_ << "*.log\n"
      << tree;
  struct Expected {
    const char* role;
    const char* name;
  };
  for (const Expected& expected : {Expected{"filler", "IP"}, Expected{"text", "IP, part 1 of 4"},
                                   Expected{"text", "IP, part 4 of 4"}, Expected{"text", "hostport"},
                                   Expected{"text", "queryport"}, Expected{"list", "Console output"},
                                   Expected{"text", "Command"}, Expected{"text", "Prefix"}}) {
    EXPECT_TRUE(Line(tree, expected.role, expected.name)) << expected.role << " " << expected.name << "\n" << tree;
  }
  int links = 0;
  std::istringstream lines(tree);
  for (std::string line; std::getline(lines, line);) {
    line.erase(0, line.find_first_not_of(' '));
    if (line.rfind("link\t", 0) == 0) {
      ++links;
      EXPECT_NE(line.find("\tPress"), std::string::npos) << line;
    }
  }
  EXPECT_EQ(links, 2);

  // The window manager gives the window the focus, the window its address
  // field; F6 goes to the players and back.
  ASSERT_TRUE(WaitUntil([&] { return Focused("text", "IP, part 1 of 4"); }, kPatience)) << Tree();
  const std::string window = session_->FindWindow(program_->Pid(), "^Kestrova by ZLX$");
  ASSERT_FALSE(window.empty());
  session_->Run("xdotool windowactivate --sync " + window + " key F6");
  EXPECT_TRUE(WaitUntil([&] { return Focused("tree", "Players"); }, kPatience)) << Tree();
  session_->Run("xdotool key F6");
  EXPECT_TRUE(WaitUntil([&] { return Focused("text", "IP, part 1 of 4"); }, kPatience)) << Tree();
}

}  // namespace
}  // namespace kestrova::test
