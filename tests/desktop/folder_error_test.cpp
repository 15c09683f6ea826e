// SPDX-License-Identifier: GPL-3.0-or-later
// A window program whose --folder cannot be made tells the user in a
// message box titled "Kestrova", as it must when started from the menu
// where nobody reads standard error, and ends once the box is acknowledged.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "desktop/x_session.h"
#include "support/child_program.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

EnvironmentChanges AsChanges(const std::vector<std::string>& environment) {
  EnvironmentChanges changes;
  for (const std::string& variable : environment) {
    const std::size_t equals = variable.find('=');
    changes[variable.substr(0, equals)] = variable.substr(equals + 1);
  }
  return changes;
}

TEST(FolderErrorTest, AFolderThatCannotBeMadeIsShownInABoxAndEndsTheProgram) {
#ifndef KESTROVA_PATH
  GTEST_SKIP() << "the kestrova program is not built";
#else
  if (const std::string reason = XSession::Unavailable(); !reason.empty()) GTEST_SKIP() << reason;
  if (!ToolOnPath("xdotool")) GTEST_SKIP() << "xdotool is not installed (scripts/install-deps.sh installs it)";
  TempDir temp;
  XSession session(temp.Path(), temp / "xvfb.log");
  ASSERT_TRUE(session.Problem().empty()) << session.Problem();
  WriteFileBytes(temp / "file", "x");
  const std::filesystem::path folder = temp / "file/servers";

  ChildProgram program(KESTROVA_PATH, {"--folder", folder.string()}, AsChanges(session.Environment()));
  std::string box;
  ASSERT_TRUE(WaitUntil([&] { return !(box = session.FindWindow(program.Pid(), "^Kestrova$")).empty(); }, 30s))
      << "no message box; standard error: " << program.Err();
  EXPECT_THAT(program.Err(),
              ::testing::HasSubstr("kestrova: The folder " + folder.string() + " cannot be made: Not a directory\n"));
  EXPECT_EQ(program.WaitForExit(0ms), std::nullopt) << "ended before the box was acknowledged";

  session.Run("xdotool windowfocus --sync " + box + " key Return");
  EXPECT_EQ(program.WaitForExit(30s), 1);
#endif
}

}  // namespace
}  // namespace kestrova::test
