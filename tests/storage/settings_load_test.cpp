// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

#include "io_failure.h"
#include "storage/io_error.h"
#include "storage/settings_file.h"
#include "support/recording_settings_target.h"
#include "support/temp_dir.h"
#include "unprivileged.h"

namespace kestrova {
namespace {

using test::TempDir;
using test::WriteFileBytes;

using RecordingTarget = test::RecordingSettingsTarget;

constexpr char kHeader[] =
    "# This file should not be edited, it will be changed by program itself.\r\n#\r\n"
    "# IP address as a number 256^3*aaa+256^2*bbb+256^2*ccc+ddd\r\n";

std::string File(const std::string& line4, const std::string& line6, const std::string& line8) {
  return kHeader + line4 + "\r\n# hostport\r\n" + line6 + "\r\n# outbondport\r\n" + line8 + "\r\n";
}

struct LoadCase {
  const char* name;
  std::string bytes;
  std::optional<std::uint32_t> address;  // nothing: never set
  std::optional<std::string> gamePort;
  std::optional<std::string> queryPort;
  std::string error;  // empty: loading succeeds
};

void PrintTo(const LoadCase& c, std::ostream* os) { *os << c.name; }

class LoadSettingsTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadSettingsTest, ReadsTheFieldsByTheTextFileRules) {
  const LoadCase& c = GetParam();
  TempDir dir;
  WriteFileBytes(dir / "data.dat", c.bytes);
  RecordingTarget target;
  EXPECT_EQ(test::IoErrorOf([&] { LoadSettings((dir / "data.dat").string(), target); }), c.error);
  EXPECT_EQ(target.address, c.address);
  EXPECT_EQ(target.gamePort, c.gamePort);
  EXPECT_EQ(target.queryPort, c.queryPort);
}

constexpr std::uint32_t k192_168_0_1 = 0xC0A80001;
constexpr char kBadNumber[] = "Invalid numeric input";

INSTANTIATE_TEST_SUITE_P(
    Files, LoadSettingsTest,
    ::testing::Values(
        LoadCase{"Written", File("3232235521", "12203", "12300"), k192_168_0_1, "12203", "12300", ""},
        LoadCase{"Empty", "", 0, "", "", ""},
        // LF alone ends no line: the whole file is one line, skipped first.
        LoadCase{"LfOnly", "# a\n#\n# b\n3232235521\n# hostport\n12203\n# outbondport\n12300\n", 0, "", "", ""},
        LoadCase{"CrOnly", "a\rb\rc\r16777343\rd\r1\re\r2\r", 0x0100007F, "1", "2", ""},
        // The token search crosses the blank line and meets the "#" of line 5.
        LoadCase{"BlankLine4", File("", "12203", "12300"), std::nullopt, std::nullopt, std::nullopt, kBadNumber},
        LoadCase{"LettersInLine4", File("localhost", "1", "2"), std::nullopt, std::nullopt, std::nullopt, kBadNumber},
        LoadCase{"DigitsThenLetters", File("12ab", "1", "2"), std::nullopt, std::nullopt, std::nullopt, kBadNumber},
        LoadCase{"TrailingText", File("3232235521 and some words", "12203", "12300"), k192_168_0_1, "12203", "12300",
                 ""},
        LoadCase{"LeadingBlanksAndTab", File(" \t 3232235521", "1", "2"), k192_168_0_1, "1", "2", ""},
        LoadCase{"DollarHex", File("$C0A80001", "1", "2"), k192_168_0_1, "1", "2", ""},
        LoadCase{"ZeroXHex", File("0xc0a80001", "1", "2"), k192_168_0_1, "1", "2", ""},
        LoadCase{"ZeroXUpperHex", File("0XC0A80001", "1", "2"), k192_168_0_1, "1", "2", ""},
        LoadCase{"NegativeHex", File("-$1", "1", "2"), 0xFFFFFFFF, "1", "2", ""},
        LoadCase{"HexWithoutDigits", File("0x", "1", "2"), std::nullopt, std::nullopt, std::nullopt, kBadNumber},
        LoadCase{"SignAlone", File("-", "1", "2"), std::nullopt, std::nullopt, std::nullopt, kBadNumber},
        LoadCase{"MinusOne", File("-1", "1", "2"), 0xFFFFFFFF, "1", "2", ""},
        LoadCase{"PlusSign", File("+3232235521", "1", "2"), k192_168_0_1, "1", "2", ""},
        LoadCase{"LowBitsOf2Pow32", File("4294967296", "1", "2"), 0, "1", "2", ""},
        LoadCase{"Int64Max", File("9223372036854775807", "1", "2"), 0xFFFFFFFF, "1", "2", ""},
        LoadCase{"Int64Min", File("-9223372036854775808", "1", "2"), 0, "1", "2", ""},
        LoadCase{"AboveInt64", File("9223372036854775808", "1", "2"), std::nullopt, std::nullopt, std::nullopt,
                 kBadNumber},
        LoadCase{"HexAboveInt64", File("$8000000000000000", "1", "2"), std::nullopt, std::nullopt, std::nullopt,
                 kBadNumber},
        // At most 32 characters make the token; the rest of the line is skipped.
        LoadCase{"TokenOf32Characters", File(std::string(32, '0') + "7", "1", "2"), 0, "1", "2", ""},
        LoadCase{"LettersInLine6", File("0", "port twelve", "12300"), 0, "port twelve", "12300", ""},
        LoadCase{"LoneLfInsideText", File("0", "12\n203", "x"), 0, "12\n203", "x", ""},
        LoadCase{"HighBytesAndBlanksKept", File("0", " \xE9\xFF ", "\x80"), 0, " \xE9\xFF ", "\x80", ""},
        LoadCase{"NoFinalLineEnd", kHeader + std::string("1\r\n#\r\n2\r\n#\r\n3"), 1, "2", "3", ""},
        LoadCase{"MarkInsideLine6",
                 File("3232235521",
                      "122\x1A"
                      "03",
                      "12300"),
                 k192_168_0_1, "122", "", ""},
        LoadCase{"MarkEndsToken", kHeader + std::string("3232235521\x1A") + "\r\n#\r\n1\r\n#\r\n2\r\n", k192_168_0_1,
                 "", "", ""},
        LoadCase{"MarkBeforeToken", kHeader + std::string("\x1A") + "3232235521\r\n#\r\n1\r\n#\r\n2\r\n", 0, "", "",
                 ""},
        LoadCase{"LinesAfterEightIgnored", File("5", "1", "2") + "garbage\r\n", 5, "1", "2", ""}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

TEST(LoadSettingsFailures, MissingFileSetsNothing) {
  TempDir dir;
  RecordingTarget target;
  LoadSettings((dir / "data.dat").string(), target);
  LoadSettings((dir / "no-such-folder" / "data.dat").string(), target);
  EXPECT_FALSE(target.address || target.gamePort || target.queryPort);
}

TEST(LoadSettingsFailures, FolderOfThatNameIsIgnored) {
  TempDir dir;
  std::filesystem::create_directory(dir / "data.dat");
  RecordingTarget target;
  LoadSettings((dir / "data.dat").string(), target);
  EXPECT_FALSE(target.address || target.gamePort || target.queryPort);
}

TEST(LoadSettingsFailures, UnreadableFileReportsAccessDenied) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0755);
  WriteFileBytes(dir / "data.dat", File("1", "2", "3"));
  test::GiveToUnprivileged(dir / "data.dat", 0);
  const std::optional<std::string> outcome = test::RunUnprivileged([&] {
    RecordingTarget target;
    const std::string error = test::IoErrorOf([&] { LoadSettings((dir / "data.dat").string(), target); });
    return error.empty() ? "loaded" : error + (target.address || target.gamePort || target.queryPort ? ", set" : "");
  });
  ASSERT_TRUE(outcome.has_value()) << "could not run without superuser rights";
  EXPECT_EQ(*outcome, "File access denied");
}

// Behind a folder we may not search, whether "data.dat" is there cannot be
// told; loading does nothing, as for a missing file.
TEST(LoadSettingsFailures, FolderWithoutSearchPermissionSetsNothing) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0755);
  const std::filesystem::path locked = dir / "locked";
  std::filesystem::create_directory(locked);
  WriteFileBytes(locked / "data.dat", File("1", "2", "3"));
  test::GiveToUnprivileged(locked / "data.dat", 0644);
  test::GiveToUnprivileged(locked, 0600);
  const std::optional<std::string> outcome = test::RunUnprivileged([&] {
    RecordingTarget target;
    const std::string error = test::IoErrorOf([&] { LoadSettings((locked / "data.dat").string(), target); });
    return !error.empty() ? error : target.address || target.gamePort || target.queryPort ? "set" : "nothing set";
  });
  ::chmod(locked.c_str(), 0755);
  ASSERT_TRUE(outcome.has_value()) << "could not run without superuser rights";
  EXPECT_EQ(*outcome, "nothing set");
}

// Reading the process's own memory at address 0 fails with EIO for anyone,
// the superuser too: a real read failure, which must not pass for
// "File access denied" although EIO is 5.
TEST(LoadSettingsFailures, ReadErrorKeepsItsOwnMessage) {
  TempDir dir;
  std::filesystem::create_symlink("/proc/self/mem", dir / "data.dat");
  RecordingTarget target;
  EXPECT_EQ(test::IoErrorOf([&] { LoadSettings((dir / "data.dat").string(), target); }), "I/O error 1117");
  EXPECT_FALSE(target.address || target.gamePort || target.queryPort);
}

}  // namespace
}  // namespace kestrova
