// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "io_failure.h"
#include "storage/io_error.h"
#include "storage/settings_file.h"
#include "support/recording_settings_target.h"
#include "support/temp_dir.h"
#include "unprivileged.h"

namespace kestrova {
namespace {

using test::FileSizeLimit;
using test::FolderEntries;
using test::ReadFileBytes;
using test::SaveError;
using test::TempDir;
using test::WriteFileBytes;

using RecordingTarget = test::RecordingSettingsTarget;

const SavedEndpoint kEndpoint{0xC0A80001, "12203", "12300"};

TEST(SaveSettings, WritesTheEightLinesByteForByte) {
  TempDir dir;
  SaveSettings((dir / "data.dat").string(), kEndpoint);
  EXPECT_EQ(ReadFileBytes(dir / "data.dat"),
            "# This file should not be edited, it will be changed by program itself.\r\n"
            "#\r\n"
            "# IP address as a number 256^3*aaa+256^2*bbb+256^2*ccc+ddd\r\n"
            "3232235521\r\n"
            "# hostport\r\n"
            "12203\r\n"
            "# outbondport\r\n"
            "12300\r\n");
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"data.dat"});
}

struct RoundTripCase {
  SavedEndpoint endpoint;
  std::string line4;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.line4; }

class SaveRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(SaveRoundTrip, WritesTheAddressUnsignedAndReadsItBack) {
  const RoundTripCase& c = GetParam();
  TempDir dir;
  WriteFileBytes(dir / "data.dat", std::string(500, 'o'));  // longer than the new content
  SaveSettings((dir / "data.dat").string(), c.endpoint);

  const std::string bytes = ReadFileBytes(dir / "data.dat");
  EXPECT_NE(bytes.find("\r\n" + c.line4 + "\r\n# hostport\r\n"), std::string::npos) << bytes;
  EXPECT_EQ(bytes, SettingsFileBytes(c.endpoint));

  RecordingTarget target;
  LoadSettings((dir / "data.dat").string(), target);
  EXPECT_EQ(target.address, c.endpoint.address);
  EXPECT_EQ(target.gamePort, c.endpoint.gamePortText);
  EXPECT_EQ(target.queryPort, c.endpoint.queryPortText);
}

INSTANTIATE_TEST_SUITE_P(Endpoints, SaveRoundTrip,
                         ::testing::Values(RoundTripCase{{0xC0A80001, "12203", "12300"}, "3232235521"},
                                           RoundTripCase{{0xFFFFFFFF, "1", "65535"}, "4294967295"},
                                           RoundTripCase{{0, "", ""}, "0"},
                                           RoundTripCase{{0x7F000001, "-5", "port"}, "2130706433"}));

TEST(SaveSettings, KeepsThePermissionsOfTheReplacedFile) {
  TempDir dir;
  WriteFileBytes(dir / "data.dat", "old");
  ::chmod((dir / "data.dat").c_str(), 0640);
  SaveSettings((dir / "data.dat").string(), kEndpoint);
  struct stat info {};
  ASSERT_EQ(::stat((dir / "data.dat").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST(SaveSettings, ReplacesTheFileBehindASymbolicLink) {
  TempDir dir;
  WriteFileBytes(dir / "real.dat", "old");
  std::filesystem::create_symlink("real.dat", dir / "data.dat");
  SaveSettings((dir / "data.dat").string(), kEndpoint);
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "data.dat"));
  EXPECT_EQ(ReadFileBytes(dir / "real.dat"), SettingsFileBytes(kEndpoint));
}

// A read-only file keeps failing every save, as the read-only attribute
// did; the check does not rest on permissions, so it holds for the
// superuser too.
TEST(SaveSettingsFailures, ReadOnlyFileIsAccessDeniedAndKept) {
  TempDir dir;
  WriteFileBytes(dir / "data.dat", "old content");
  ::chmod((dir / "data.dat").c_str(), 0444);
  EXPECT_EQ(SaveError(dir / "data.dat", kEndpoint), "File access denied");
  EXPECT_EQ(SaveError(dir / "data.dat", kEndpoint), "File access denied");
  EXPECT_EQ(ReadFileBytes(dir / "data.dat"), "old content");
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"data.dat"});
}

TEST(SaveSettingsFailures, FolderOfThatNameIsAccessDenied) {
  TempDir dir;
  std::filesystem::create_directory(dir / "data.dat");
  EXPECT_EQ(SaveError(dir / "data.dat", kEndpoint), "File access denied");
  EXPECT_TRUE(std::filesystem::is_directory(dir / "data.dat"));
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"data.dat"});
}

TEST(SaveSettingsFailures, MissingFolderIsInvalidFilename) {
  TempDir dir;
  EXPECT_EQ(SaveError(dir / "missing" / "data.dat", kEndpoint), "Invalid filename");
  EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

// A folder that takes no new file: a writable "data.dat" in it is
// rewritten where it is, as a plain save does; with no file, or a
// read-only one, there is nothing the save may write.
struct LockedFolderCase {
  const char* name;
  std::optional<mode_t> fileMode;  // nothing: no "data.dat"
  std::string error;               // empty: the save succeeds
};

void PrintTo(const LockedFolderCase& c, std::ostream* os) { *os << c.name; }

class SaveInLockedFolder : public ::testing::TestWithParam<LockedFolderCase> {};

TEST_P(SaveInLockedFolder, RewritesAWritableFileInPlace) {
  const LockedFolderCase& c = GetParam();
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0755);
  const std::filesystem::path locked = dir / "locked";
  std::filesystem::create_directory(locked);
  const std::string old = "old content, longer than the eight lines that replace it " + std::string(300, 'x');
  if (c.fileMode) {
    WriteFileBytes(locked / "data.dat", old);
    test::GiveToUnprivileged(locked / "data.dat", *c.fileMode);
  }
  test::GiveToUnprivileged(locked, 0555);
  const std::optional<std::string> error =
      test::RunUnprivileged([&] { return SaveError(locked / "data.dat", kEndpoint); });
  ::chmod(locked.c_str(), 0755);
  ASSERT_TRUE(error.has_value()) << "could not run without superuser rights";

  EXPECT_EQ(*error, c.error);
  const std::string expected = !c.fileMode ? "" : c.error.empty() ? SettingsFileBytes(kEndpoint) : old;
  EXPECT_EQ(ReadFileBytes(locked / "data.dat"), expected);
  EXPECT_EQ(FolderEntries(locked), c.fileMode ? std::vector<std::string>{"data.dat"} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Files, SaveInLockedFolder,
                         ::testing::Values(LockedFolderCase{"WritableFile", 0644, ""},
                                           LockedFolderCase{"NoFile", std::nullopt, "File access denied"},
                                           LockedFolderCase{"ReadOnlyFile", 0444, "File access denied"}),
                         [](const ::testing::TestParamInfo<LockedFolderCase>& info) { return info.param.name; });

// A shared folder with the sticky bit takes our new file but refuses to
// let it replace a file of another owner; that file, writable for us, is
// rewritten in place.
TEST(SaveSettings, RewritesAnotherOwnersFileInAStickyFolderInPlace) {
  if (::geteuid() != 0) {
    GTEST_SKIP() << "needs a file of another owner, which only the superuser can make";
  }
  TempDir dir;
  ::chmod(dir.Path().c_str(), 01777);
  WriteFileBytes(dir / "data.dat", std::string(500, 'o'));
  ::chmod((dir / "data.dat").c_str(), 0666);
  const std::optional<std::string> error =
      test::RunUnprivileged([&] { return SaveError(dir / "data.dat", kEndpoint); });
  ASSERT_TRUE(error.has_value()) << "could not run without superuser rights";
  EXPECT_EQ(*error, "");
  EXPECT_EQ(ReadFileBytes(dir / "data.dat"), SettingsFileBytes(kEndpoint));
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"data.dat"});
}

// A write that fails halfway: the file already there must come through
// byte for byte, and the half-written new one must be gone.
TEST(SaveSettingsFailures, FailedWriteLeavesTheOldFileUntouched) {
  TempDir dir;
  const std::string old = SettingsFileBytes({0x0A000001, "1", "2"});
  WriteFileBytes(dir / "data.dat", old);

  std::string error;
  {
    FileSizeLimit limit(20);
    error = SaveError(dir / "data.dat", kEndpoint);
  }

  EXPECT_EQ(error, IoErrorMessage(IoCodeFromErrno(EFBIG)));
  EXPECT_EQ(ReadFileBytes(dir / "data.dat"), old);
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"data.dat"});
}

}  // namespace
}  // namespace kestrova
