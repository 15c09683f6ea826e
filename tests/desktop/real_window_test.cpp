// SPDX-License-Identifier: GPL-3.0-or-later
// Both programs in real windows on an X display, watching the simulated
// server: START saves the endpoint and fills the window, the query cycle
// keeps following the server, and build B logs the players it shows. The
// user's actions are played with xdotool and the window is read back from
// screenshots, which stay in "desktop-output" next to the test program for
// a look after the run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "desktop/x_session.h"
#include "support/sim_server.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kPatience = 20s;  // a bound only: the machine may be busy

// Client positions from the window's layout.
constexpr int kStartX = 304 + 91 / 2;  // the centre of "START spy"
constexpr int kStartY = 0 + 25 / 2;
constexpr int kHostnameTop = 34;  // Label8, "hostname:" in red, 13 high
constexpr int kLabelHeight = 13;
constexpr int kListTop = 168;          // ListView1
constexpr int kNameColumnRight = 240;  // "Name" is the list less three columns of 50

const char kTitle[] = "^Kestrova by ZLX$";

struct Program {
  const char* name;
  const char* path;  // nullptr when the program is not built
  bool logsPlayers;  // build B
};

void PrintTo(const Program& program, std::ostream* out) { *out << program.name; }

std::string DataFile(const std::string& addressLine, int gamePort, int queryPort) {
  return "# This file should not be edited, it will be changed by program itself.\r\n#\r\n"
         "# IP address as a number 256^3*aaa+256^2*bbb+256^2*ccc+ddd\r\n" +
         addressLine + "\r\n# hostport\r\n" + std::to_string(gamePort) + "\r\n# outbondport\r\n" +
         std::to_string(queryPort) + "\r\n";
}

// Black text, anti-aliased edges included; the disabled fields' gray is not.
bool IsText(RgbImage::Pixel p) { return p.r < 110 && p.g < 110 && p.b < 110; }
bool IsRed(RgbImage::Pixel p) { return p.r > 160 && p.g < 110 && p.b < 110; }

// The lines of text in the Name column of the player list, its header
// included: runs of pixel rows that hold text pixels.
int TextLinesInPlayerList(const RgbImage& shot) {
  int lines = 0;
  bool inLine = false;
  for (int y = kListTop; y < shot.height; ++y) {
    bool ink = false;
    for (int x = 2; x < std::min(kNameColumnRight, shot.width) && !ink; ++x) ink = IsText(shot.At(x, y));
    if (ink && !inLine) ++lines;
    inLine = ink;
  }
  return lines;
}

// The right end of the red text in the row of "hostname:" (the label and
// the host name after it); -1 when there is none.
int HostnameRight(const RgbImage& shot) {
  int right = -1;
  for (int y = kHostnameTop; y < std::min(kHostnameTop + kLabelHeight, shot.height); ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (IsRed(shot.At(x, y))) right = std::max(right, x);
    }
  }
  return right;
}

std::vector<std::filesystem::path> CsvFiles(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".csv") files.push_back(entry.path());
  }
  return files;
}

// The log's name for the local date now: "ddmm.csv".
std::string TodaysLogName() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char name[16];
  std::strftime(name, sizeof name, "%d%m.csv", &local);
  return name;
}

class RealWindowTest : public ::testing::TestWithParam<Program> {
 protected:
  void SetUp() override {
    if (GetParam().path == nullptr) GTEST_SKIP() << GetParam().name << " is not built";
    if (const std::string reason = XSession::Unavailable(); !reason.empty()) GTEST_SKIP() << reason;
    for (const char* tool : {"xdotool", "import"}) {
      if (!ToolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
    }
    const std::filesystem::path outputs =
        std::filesystem::read_symlink("/proc/self/exe").parent_path() / "desktop-output";
    std::filesystem::create_directories(outputs);
    output_ = (outputs / GetParam().name).string();
    session_.emplace(home_.Path(), output_ + "-xvfb.log");
    ASSERT_TRUE(session_->Problem().empty()) << session_->Problem();
  }

  RgbImage Capture() const { return session_->Capture(window_); }
  void Save(const std::string& stage) const { session_->SavePng(window_, output_ + "-" + stage + ".png"); }

  TempDir home_;  // where the display runs
  TempDir work_;  // the program's working folder
  std::string output_;
  std::optional<XSession> session_;
  std::string window_;
};

TEST_P(RealWindowTest, StartSavesTheEndpointFillsTheWindowAndFollowsTheServer) {
  SimServer server;
  // Added out of order: the list sorts them by name.
  for (const char* player : {"Charlie;3;9;60", "Alpha;11;2;30", "Bravo;7;5;45"}) {
    ASSERT_EQ(server.Control(std::string("player add ") + player), "ok");
  }
  // 127.0.0.1 in hexadecimal: only the program's own save writes it as the
  // decimal 2130706433.
  const std::string written = DataFile("$7F000001", server.GamePort(), server.QueryPort());
  const std::string saved = DataFile("2130706433", server.GamePort(), server.QueryPort());
  const std::filesystem::path data = work_ / "data.dat";
  WriteFileBytes(data, written);

  SpawnedProgram program({GetParam().path}, session_->Environment(), work_.Path(), output_ + ".log");
  ASSERT_TRUE(program.Started()) << "could not run " << GetParam().path;
  ASSERT_TRUE(WaitUntil(
      [&] {
        window_ = session_->FindWindow(program.Pid(), kTitle);
        return !window_.empty() || !program.Running();
      },
      kPatience));
  ASSERT_FALSE(window_.empty()) << "no window titled \"Kestrova by ZLX\"; see " << output_ << ".log";

  // Painted once the list's header is there.
  RgbImage before;
  ASSERT_TRUE(WaitUntil(
      [&] {
        before = Capture();
        return !before.Empty() && TextLinesInPlayerList(before) > 0;
      },
      kPatience))
      << "the window could not be captured or shows no player list";
  Save("1-started");
  const int header = TextLinesInPlayerList(before);
  EXPECT_EQ(ReadFileBytes(data), written) << "starting the program rewrote data.dat";
  const std::string logName = TodaysLogName();

  session_->ClickAt(window_, kStartX, kStartY);
  const bool savedAtStart = WaitUntil([&] { return ReadFileBytes(data) == saved; }, kPatience);
  EXPECT_TRUE(savedAtStart) << "data.dat after START:\n" << ReadFileBytes(data);

  RgbImage shown;
  EXPECT_TRUE(WaitUntil(
      [&] {
        shown = Capture();
        return !shown.Empty() && TextLinesInPlayerList(shown) == header + 3;
      },
      kPatience, 250ms))
      << "lines of text in the player list: " << TextLinesInPlayerList(shown) << ", header " << header;
  Save("2-monitoring");
  EXPECT_GT(HostnameRight(shown), HostnameRight(before) + 50) << "no host name after \"hostname:\"";

  // The cycle goes on: a player who joins appears within a few ticks.
  ASSERT_EQ(server.Control("player add Delta;1;1;20"), "ok");
  EXPECT_TRUE(WaitUntil(
      [&] {
        shown = Capture();
        return !shown.Empty() && TextLinesInPlayerList(shown) == header + 4;
      },
      kPatience, 250ms))
      << "lines of text in the player list: " << TextLinesInPlayerList(shown) << ", header " << header;
  Save("3-joined");
  EXPECT_TRUE(program.Running()) << "the program ended; see " << output_ << ".log";

  const auto logs = CsvFiles(work_.Path());
  if (!GetParam().logsPlayers) {
    EXPECT_TRUE(logs.empty()) << "build A wrote " << logs.front();
    return;
  }
  // The first cycle after START logs the players it found; the next record
  // is due 30 seconds later.
  ASSERT_EQ(logs.size(), 1u) << "player logs in the working folder";
  EXPECT_THAT(logs.front().filename().string(), ::testing::AnyOf(logName, TodaysLogName()));
  const std::string record = ReadFileBytes(logs.front());
  EXPECT_TRUE(std::regex_match(record, std::regex("\\d\\d-\\d\\d-\\d{4} \\d\\d.\\d\\d.\\d\\d\r\n"
                                                  " Alpha;11;2;30;\r\n Bravo;7;5;45;\r\n Charlie;3;9;60;\r\n\r\n")))
      << record;
}

#ifdef KESTROVA_PATH
constexpr const char* kBuildA = KESTROVA_PATH;
#else
constexpr const char* kBuildA = nullptr;
#endif
#ifdef KESTROVA_LOG_PATH
constexpr const char* kBuildB = KESTROVA_LOG_PATH;
#else
constexpr const char* kBuildB = nullptr;
#endif

INSTANTIATE_TEST_SUITE_P(Builds, RealWindowTest,
                         ::testing::Values(Program{"kestrova", kBuildA, false}, Program{"kestrova-log", kBuildB, true}),
                         [](const ::testing::TestParamInfo<Program>& info) {
                           return std::string(info.param.logsPlayers ? "BuildB" : "BuildA");
                         });

}  // namespace
}  // namespace kestrova::test
