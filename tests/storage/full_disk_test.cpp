// SPDX-License-Identifier: GPL-3.0-or-later
// The log and "data.dat" where the disk runs out: on a real full disk (a
// small tmpfs of the test's own) and at a file size limit, which stops a
// write part-way wherever the test wants.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "io_failure.h"
#include "storage/io_error.h"
#include "storage/player_log.h"
#include "storage/settings_file.h"
#include "support/fixed_clock.h"
#include "support/fixed_log_source.h"
#include "support/small_disk.h"
#include "support/temp_dir.h"
#include "unprivileged.h"

namespace kestrova {
namespace {

using test::FileSizeLimit;
using test::FixedClock;
using test::FixedLogSource;
using test::IoErrorOf;
using test::ReadFileBytes;
using test::SaveError;
using test::SmallDisk;
using test::TempDir;
using test::WriteFileBytes;

const LocalTime kNow{2026, 12, 7, 1, 5, 15};
const std::string kDayFile = "0712.csv";

// A long player list, so that a record needs room.
FixedLogSource Players() {
  FixedLogSource players;
  players.rows.assign(40, PlayerRow{" A player with a long name", {"12", "3", "48"}});
  return players;
}

// The message of the record's failure, or "" when it was written.
std::string RecordError(PlayerLog& log) {
  return IoErrorOf([&] { log.Step(Players()); });
}

const std::string kFileTooLarge = IoErrorMessage(IoCodeFromErrno(EFBIG));

// ---- A record stopped part-way ----

struct CutRecordCase {
  const char* name;
  std::optional<std::string> old;  // nothing: no day file yet
};

void PrintTo(const CutRecordCase& c, std::ostream* os) { *os << c.name; }

class CutRecordTest : public ::testing::TestWithParam<CutRecordCase> {};

// The limit lets the record begin but not end: the file must come out as
// it went in, the bytes behind an old end mark included, and a file that
// the record made must be gone.
TEST_P(CutRecordTest, LeavesTheDayFileAsItWas) {
  const CutRecordCase& c = GetParam();
  TempDir dir;
  if (c.old) {
    WriteFileBytes(dir / kDayFile, *c.old);
  }
  FixedClock clock(kNow);
  PlayerLog log(clock, ":", dir.Path().string());
  log.SetCounter(60);
  std::string error;
  {
    FileSizeLimit limit(c.old.value_or("").size() + 100);
    error = RecordError(log);
  }
  EXPECT_EQ(error, kFileTooLarge);
  EXPECT_EQ(log.Counter(), 60);
  if (c.old) {
    EXPECT_EQ(ReadFileBytes(dir / kDayFile), *c.old);
  } else {
    EXPECT_FALSE(std::filesystem::exists(dir / kDayFile));
  }

  // Once there is room, the record follows what was there, as always.
  const std::string kept = c.old.value_or("").substr(0, c.old.value_or("").find('\x1A'));
  EXPECT_EQ(RecordError(log), "");
  EXPECT_EQ(ReadFileBytes(dir / kDayFile), kept + RecordBytes(kNow, ":", Players().Rows()));
}

INSTANTIATE_TEST_SUITE_P(
    Files, CutRecordTest,
    ::testing::Values(CutRecordCase{"EarlierRecords", std::string("07-12-2026 01:04:45\r\n A;1;2;3;\r\n\r\n")},
                      CutRecordCase{"EndMarkCutBeforeTheRecord", std::string("kept\x1A what an older writer left")},
                      CutRecordCase{"EmptyFile", std::string()}, CutRecordCase{"NoFileYet", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- A real full disk ----

class FullDiskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!disk_.Mounted()) {
      GTEST_SKIP() << disk_.Reason();
    }
  }
  SmallDisk disk_;
};

TEST_F(FullDiskTest, ARecordThatDoesNotFitLeavesTheDayFileAsItWas) {
  // 4000 bytes: the record starts in the file's last page and needs another.
  const std::string old = std::string(3998, 'o') + "\r\n";
  WriteFileBytes(disk_ / kDayFile, old);
  disk_.Fill();
  FixedClock clock(kNow);
  PlayerLog log(clock, ":", disk_.Path().string());
  EXPECT_EQ(RecordError(log), "Disk full");
  EXPECT_EQ(ReadFileBytes(disk_ / kDayFile), old);
  EXPECT_EQ(log.Counter(), 0);

  disk_.Free();
  EXPECT_EQ(RecordError(log), "");
  EXPECT_TRUE(ReadFileBytes(disk_ / kDayFile).starts_with(old + "07-12-2026 01:05:15\r\n"));
}

TEST_F(FullDiskTest, ARecordThatCannotStartLeavesNoDayFile) {
  disk_.Fill();
  FixedClock clock(kNow);
  PlayerLog log(clock, ":", disk_.Path().string());
  EXPECT_EQ(RecordError(log), "Disk full");
  EXPECT_FALSE(std::filesystem::exists(disk_ / kDayFile));
}

TEST_F(FullDiskTest, ASaveThatDoesNotFitKeepsTheOldSettingsFile) {
  const std::string old = SettingsFileBytes({0x0A000001, "27960", "27961"});
  WriteFileBytes(disk_ / "data.dat", old);
  disk_.Fill();
  EXPECT_EQ(SaveError(disk_ / "data.dat", {0xC0A80001, "12203", "12300"}), "Disk full");
  EXPECT_EQ(ReadFileBytes(disk_ / "data.dat"), old);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(disk_.Path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"data.dat", "filler"}));
}

// ---- A rewrite in place stopped part-way ----

// A folder that takes no new file makes the save rewrite "data.dat" where
// it is; when that stops part-way, the old content goes back in.
TEST(SaveInPlace, AWriteStoppedPartWayPutsTheOldContentBack) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0755);
  const std::filesystem::path locked = dir / "locked";
  std::filesystem::create_directory(locked);
  const std::string old = "short\r\n";
  WriteFileBytes(locked / "data.dat", old);
  test::GiveToUnprivileged(locked / "data.dat", 0644);
  test::GiveToUnprivileged(locked, 0555);
  const std::optional<std::string> error = test::RunUnprivileged([&] {
    FileSizeLimit limit(40);
    return SaveError(locked / "data.dat", {0xC0A80001, "12203", "12300"});
  });
  ::chmod(locked.c_str(), 0755);
  ASSERT_TRUE(error.has_value()) << "could not run without superuser rights";
  EXPECT_EQ(*error, kFileTooLarge);
  EXPECT_EQ(ReadFileBytes(locked / "data.dat"), old);
}

}  // namespace
}  // namespace kestrova
