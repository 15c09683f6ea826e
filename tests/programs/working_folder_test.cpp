// SPDX-License-Identifier: GPL-3.0-or-later
// Where the window programs work: the per-user folder's place, and the
// folder of --folder made and entered.
#include "app/working_folder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <stdexcept>

#include "support/temp_dir.h"

namespace kestrova {
namespace {

using Variables = std::map<std::string, std::string>;

EnvironmentLookup Lookup(const Variables& variables) {
  return [variables](const std::string& name) -> std::optional<std::string> {
    const auto found = variables.find(name);
    return found == variables.end() ? std::nullopt : std::optional<std::string>(found->second);
  };
}

struct PerUserCase {
  Variables variables;
  std::string folder;
};

class PerUserFolderTest : public ::testing::TestWithParam<PerUserCase> {};

TEST_P(PerUserFolderTest, FollowsTheXdgRules) {
  EXPECT_EQ(PerUserFolder(Lookup(GetParam().variables)), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PerUserFolderTest,
    ::testing::Values(PerUserCase{{{"XDG_DATA_HOME", "/data"}, {"HOME", "/home/u"}}, "/data/kestrova"},
                      PerUserCase{{{"HOME", "/home/u"}}, "/home/u/.local/share/kestrova"},
                      PerUserCase{{{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}}, "/home/u/.local/share/kestrova"},
                      // A relative XDG_DATA_HOME is invalid and ignored.
                      PerUserCase{{{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}}, "/home/u/.local/share/kestrova"}));

TEST(PerUserFolderTest, WithoutHomeTakesThePasswordDatabasesHome) {
  const passwd* user = getpwuid(getuid());
  ASSERT_NE(user, nullptr);
  EXPECT_EQ(PerUserFolder(Lookup({{"HOME", ""}})), std::filesystem::path(user->pw_dir) / ".local/share/kestrova");
}

// Entering a folder changes the test process's working folder; each test
// gets it back.
class EnterFolderTest : public ::testing::Test {
 protected:
  ~EnterFolderTest() override { std::filesystem::current_path(start_); }

  std::filesystem::path start_ = std::filesystem::current_path();
  test::TempDir temp_;
};

TEST_F(EnterFolderTest, MakesTheFolderWithItsParentsAndEntersIt) {
  const std::filesystem::path folder = temp_ / "a/b/c";
  EXPECT_EQ(EnterFolderOption(folder.string(), Lookup({})), folder);
  EXPECT_EQ(std::filesystem::current_path(), folder);
}

TEST_F(EnterFolderTest, EntersAnExistingFolderGivenRelatively) {
  std::filesystem::create_directory(temp_ / "servers");
  std::filesystem::current_path(temp_.Path());
  EnterFolderOption("servers", Lookup({}));
  EXPECT_EQ(std::filesystem::current_path(), temp_ / "servers");
}

TEST_F(EnterFolderTest, TheEmptyTextMakesThePerUserFolderForItsOwnerOnly) {
  const std::filesystem::path dataHome = temp_ / "data";
  EXPECT_EQ(EnterFolderOption("", Lookup({{"XDG_DATA_HOME", dataHome.string()}})), dataHome / "kestrova");
  EXPECT_EQ(std::filesystem::current_path(), dataHome / "kestrova");
  for (const std::filesystem::path& made : {dataHome, dataHome / "kestrova"}) {
    struct stat status {};
    ASSERT_EQ(stat(made.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u) << made;
  }
}

TEST_F(EnterFolderTest, AFolderThatCannotBeMadeIsReportedAndNotEntered) {
  test::WriteFileBytes(temp_ / "file", "x");
  const std::filesystem::path folder = temp_ / "file/sub";
  try {
    EnterFolderOption(folder.string(), Lookup({}));
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(error.what(), "The folder " + folder.string() + " cannot be made: Not a directory");
  }
  EXPECT_EQ(std::filesystem::current_path(), start_);
}

}  // namespace
}  // namespace kestrova
