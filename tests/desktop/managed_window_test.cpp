// SPDX-License-Identifier: GPL-3.0-or-later
// The program's window under a window manager (openbox on a private Xvfb
// display), driven with real key presses and clicks (xdotool): error boxes
// take the focus and give it back as on a desktop, which is where the
// controls' "on enter" handlers must tell a focus that moves from one that
// only comes back. A scripted UDP peer on 127.0.0.1 stands in for the
// server, so the test sees when monitoring begins.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>

#include "desktop/x_session.h"
#include "support/temp_dir.h"
#include "support/udp_peer.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 20s;  // a bound only: the machine may be busy

// Client positions from the window's layout.
constexpr int kStartX = 304 + 91 / 2;  // "START spy"
constexpr int kStartY = 25 / 2;
constexpr int kShowConsoleX = 304 + 8;  // the box of "ShowConsole"
constexpr int kShowConsoleY = 32 + 17 / 2;
constexpr int kCommandLineLeft = 400;  // Edit4
constexpr int kCommandLineTop = 316;
constexpr int kCommandLineWidth = 385;
constexpr int kCommandLineHeight = 21;

const std::string kInfoRequest = std::string("\xFF\xFF\xFF\xFF\x02", 5) + "getinfo xxx";

std::string DataFile(const std::string& address, const std::string& gamePort, const std::string& queryPort) {
  return "# This file should not be edited, it will be changed by program itself.\r\n#\r\n"
         "# IP address as a number 256^3*aaa+256^2*bbb+256^2*ccc+ddd\r\n" +
         address + "\r\n# hostport\r\n" + gamePort + "\r\n# outbondport\r\n" + queryPort + "\r\n";
}

// Dark pixels of text in a rectangle of a screenshot.
int TextPixels(const RgbImage& shot, int left, int top, int width, int height) {
  int count = 0;
  for (int y = top; y < top + height && y < shot.height; ++y) {
    for (int x = left; x < left + width && x < shot.width; ++x) {
      const RgbImage::Pixel p = shot.At(x, y);
      if (p.r < 110 && p.g < 110 && p.b < 110) ++count;
    }
  }
  return count;
}

class ManagedWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef KESTROVA_PATH
    GTEST_SKIP() << "the kestrova program is not built";
#else
    for (const char* tool : {"Xvfb", "openbox", "xdotool", "xprop", "import"}) {
      if (!ToolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
    }
    const std::filesystem::path outputs =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "desktop-output";
    std::filesystem::create_directories(outputs);
    logs_ = (outputs / ::testing::UnitTest::GetInstance()->current_test_info()->name()).string() + "-";
    session_.emplace(home_.Path(), logs_ + "xvfb.log");
    ASSERT_TRUE(session_->Problem().empty()) << session_->Problem();
    windowManager_.emplace(*session_, home_.Path(), logs_ + "openbox.log");
    ASSERT_TRUE(windowManager_->Ready()) << "openbox did not start; see " << logs_ << "openbox.log";
#endif
  }

  // Starts the program in its working folder and waits until its window
  // is shown and active.
  void StartProgram() {
#ifdef KESTROVA_PATH
    program_.emplace(std::vector<std::string>{KESTROVA_PATH}, session_->Environment(), work_.Path(),
                     logs_ + "kestrova.log");
    ASSERT_TRUE(program_->Started());
    ASSERT_TRUE(WaitUntil(
        [this] {
          window_ = session_->FindWindow(program_->Pid(), "^Kestrova by ZLX$");
          return !window_.empty() && ActiveWindow() == window_;
        },
        kPatience))
        << "the main window did not appear and take the focus; see " << logs_ << "kestrova.log";
#endif
  }

  std::string ActiveWindow() const {
    const std::string id = session_->Run("xdotool getactivewindow");
    return id.substr(0, id.find('\n'));
  }

  // The program's error boxes on screen: windows titled "Kestrova".
  std::set<std::string> ErrorBoxes() const {
    std::set<std::string> ids;
    std::istringstream lines(session_->Run("xdotool search --all --onlyvisible --pid " +
                                           std::to_string(program_->Pid()) + " --name '^Kestrova$'"));
    for (std::string id; std::getline(lines, id);) {
      if (!id.empty()) ids.insert(id);
    }
    return ids;
  }

  // Waits for an error box to show and to take the focus, then closes it
  // with the Enter key. Returns false when none came.
  bool CloseTheErrorBox() {
    std::string box;
    const bool shown = WaitUntil(
        [&] {
          const std::set<std::string> boxes = ErrorBoxes();
          seenBoxes_.insert(boxes.begin(), boxes.end());
          box = boxes.empty() ? "" : *boxes.begin();
          return !box.empty() && ActiveWindow() == box;
        },
        kPatience);
    if (!shown) return false;
    session_->SavePng(box, logs_ + "error-box.png");
    session_->Run("xdotool key Return");
    return WaitUntil([&] { return ErrorBoxes().count(box) == 0; }, kPatience);
  }

  // Waits for the program's first info request to `server` while noting
  // every error box that shows meanwhile.
  bool MonitoringBegins(UdpPeer& server) {
    return WaitUntil(
        [&] {
          const std::set<std::string> boxes = ErrorBoxes();
          seenBoxes_.insert(boxes.begin(), boxes.end());
          const std::optional<std::string> request = server.Receive(100);
          return request == kInfoRequest;
        },
        kPatience);
  }

  void Press(const std::string& keys) const { session_->Run("xdotool key --delay 50 " + keys); }
  void Type(const std::string& text) const { session_->Run("xdotool type --delay 50 '" + text + "'"); }

  TempDir home_;  // where the display and the window manager run
  TempDir work_;  // the program's working folder
  std::string logs_;
  std::optional<XSession> session_;
  std::optional<WindowManager> windowManager_;
  std::optional<SpawnedProgram> program_;  // stopped before the display
  std::string window_;
  std::set<std::string> seenBoxes_;
};

TEST_F(ManagedWindowTest, AReadOnlySettingsFileShowsOneErrorAndStartStillStarts) {
  UdpPeer server;
  const std::filesystem::path data = work_ / "data.dat";
  const std::string port = std::to_string(server.Port());
  const std::string saved = DataFile("2130706433", port, port);  // 127.0.0.1
  WriteFileBytes(data, saved);
  ::chmod(data.c_str(), 0444);
  ASSERT_NO_FATAL_FAILURE(StartProgram());

  session_->ClickAt(window_, kStartX, kStartY);
  ASSERT_TRUE(CloseTheErrorBox()) << "no \"File access denied.\" box after START";
  session_->SavePng(window_, logs_ + "after-error.png");
  // The click may have started monitoring already; if not, a second click
  // on the button, which holds the focus now, does without a new box.
  session_->ClickAt(window_, kStartX, kStartY);
  EXPECT_TRUE(MonitoringBegins(server)) << "START did not start monitoring";
  EXPECT_EQ(seenBoxes_.size(), 1u) << "error boxes shown";
  EXPECT_EQ(ReadFileBytes(data), saved);
  session_->SavePng(window_, logs_ + "monitoring.png");
}

TEST_F(ManagedWindowTest, AFailedConsoleCommandStaysInTheCommandLine) {
  WriteFileBytes(work_ / "data.dat", DataFile("2130706433", "", "12300"));  // an empty game port
  ASSERT_NO_FATAL_FAILURE(StartProgram());
  session_->ClickAt(window_, kShowConsoleX, kShowConsoleY);
  session_->ClickAt(window_, kCommandLineLeft + 100, kCommandLineTop + kCommandLineHeight / 2);
  Type("rcon secret status");
  int typed = 0;
  ASSERT_TRUE(WaitUntil(
      [&] {
        typed = TextPixels(session_->Capture(window_), kCommandLineLeft + 4, kCommandLineTop + 4, kCommandLineWidth - 8,
                           kCommandLineHeight - 8);
        return typed > 60;
      },
      kPatience))
      << "the typed command does not show; text pixels " << typed;

  Press("Return");  // the command fails: "'' is not a valid integer value."
  ASSERT_TRUE(CloseTheErrorBox()) << "no error box for the empty game port";
  ASSERT_TRUE(WaitUntil([&] { return ActiveWindow() == window_; }, kPatience));
  const RgbImage after = session_->Capture(window_);
  session_->SavePng(window_, logs_ + "after-error.png");
  const int kept =
      TextPixels(after, kCommandLineLeft + 4, kCommandLineTop + 4, kCommandLineWidth - 8, kCommandLineHeight - 8);
  // The caret may blink in or out: a few pixels either way.
  EXPECT_GT(kept, typed - 25) << "the command line lost the command";
  EXPECT_EQ(seenBoxes_.size(), 1u) << "error boxes shown";
}

// The start-up focus is in the address field: typing an address over the
// loaded one and Tab save it, and Enter on START begins monitoring.
TEST_F(ManagedWindowTest, TypingAnAddressTabAndEnterOnStart) {
  UdpPeer server;
  const std::filesystem::path data = work_ / "data.dat";
  const std::string port = std::to_string(server.Port());
  WriteFileBytes(data, DataFile("169090600", port, port));  // 10.20.30.40, never contacted
  ASSERT_NO_FATAL_FAILURE(StartProgram());

  Type("127.0.0.1");
  Press("Tab");
  // Only an address typed right may be contacted: nothing is sent beyond
  // the loopback address.
  ASSERT_TRUE(WaitUntil([&] { return ReadFileBytes(data) == DataFile("2130706433", port, port); }, kPatience))
      << "data.dat after typing 127.0.0.1 and Tab:\n"
      << ReadFileBytes(data);
  Press("Return");
  EXPECT_TRUE(MonitoringBegins(server)) << "Enter on START did not start monitoring";
  EXPECT_TRUE(seenBoxes_.empty());
}

}  // namespace
}  // namespace kestrova::test
