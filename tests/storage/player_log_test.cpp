// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/player_log.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/local_time.h"
#include "core/player_row.h"
#include "io_failure.h"
#include "storage/io_error.h"
#include "support/fixed_clock.h"
#include "support/fixed_log_source.h"
#include "support/temp_dir.h"

namespace kestrova {
namespace {

using test::FixedClock;
using test::FixedLogSource;
using test::FolderEntries;
using test::IoErrorOf;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

const LocalTime k7December{2026, 12, 7, 1, 5, 15};
const LocalTime k8December{2026, 12, 8, 0, 0, 1};

// A log in a fresh folder on 7 December, and the player list it reads.
struct LogRig {
  TempDir dir;
  FixedClock clock{k7December};
  PlayerLog log{clock, ":", dir.Path().string()};
  FixedLogSource source;
};

class PlayerLogStep : public ::testing::Test, protected LogRig {};

// ---- The schedule ----

struct DueCase {
  std::uint16_t counter;
  std::int32_t interval;
  bool due;
};

void PrintTo(const DueCase& c, std::ostream* os) { *os << "counter " << c.counter << ", interval " << c.interval; }

class RecordDueTest : public ::testing::TestWithParam<DueCase> {};

TEST_P(RecordDueTest, CounterIsAMultipleOfTwiceTheInterval) {
  EXPECT_EQ(PlayerLog::RecordDue(GetParam().counter, GetParam().interval), GetParam().due);
}

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

INSTANTIATE_TEST_SUITE_P(Schedule, RecordDueTest,
                         ::testing::Values(DueCase{0, 30, true}, DueCase{60, 30, true}, DueCase{120, 30, true},
                                           DueCase{30, 30, false}, DueCase{59, 30, false}, DueCase{65520, 30, true},
                                           DueCase{65535, 30, false}, DueCase{0, -30, true}, DueCase{60, -30, true},
                                           DueCase{30, -30, false}, DueCase{1, 1, false}, DueCase{2, 1, true},
                                           // Divisors beyond the 16-bit counter: due only at 0.
                                           DueCase{0, 1073741824, true}, DueCase{32768, 1073741824, false},
                                           DueCase{65535, 1073741824, false}, DueCase{0, -1073741825, true},
                                           DueCase{65534, -1073741825, false}, DueCase{0, kInt32Min, true},
                                           DueCase{2, kInt32Min, false}, DueCase{0, kInt32Max, true},
                                           DueCase{0, 0, false}));

TEST_F(PlayerLogStep, IntervalThirtyWritesAtZeroSixtyAndOneHundredTwenty) {
  for (int cycle = 0; cycle <= 120; ++cycle) {
    log.Step(source);
  }
  EXPECT_EQ(clock.readings, 3u);
  EXPECT_EQ(log.Counter(), 121);
  const std::string record = RecordBytes(k7December, ":", source.rows);
  EXPECT_EQ(ReadFileBytes(dir / "0712.csv"), record + record + record);
}

TEST_F(PlayerLogStep, AfterSixtyFiveThousandFiveHundredTwentyTheNextRecordIsAtZero) {
  log.SetCounter(65520);
  for (int cycle = 0; cycle < 16; ++cycle) {
    log.Step(source);
  }
  EXPECT_EQ(log.Counter(), 0);  // wrapped from 65535
  EXPECT_EQ(clock.readings, 1u);
  log.Step(source);
  EXPECT_EQ(clock.readings, 2u);
  EXPECT_EQ(log.Counter(), 1);
}

TEST_F(PlayerLogStep, IntervalZeroTouchesNothingAndHoldsTheCounter) {
  source.interval = 0;
  log.SetCounter(60);
  log.Step(source);
  log.Step(source);
  EXPECT_EQ(log.Counter(), 60);
  EXPECT_EQ(source.looks, 0);
  EXPECT_TRUE(FolderEntries(dir.Path()).empty());

  source.interval = 15;  // records resume at multiples of the new divisor
  log.Step(source);
  EXPECT_EQ(clock.readings, 1u);
  EXPECT_EQ(log.Counter(), 61);
}

TEST_F(PlayerLogStep, NotDueLooksAtNeitherListNorSwitch) {
  log.SetCounter(1);
  log.Step(source);
  EXPECT_EQ(source.looks, 0);
  EXPECT_EQ(log.Counter(), 2);
}

struct SuspendCase {
  const char* name;
  bool enabled;
  std::vector<PlayerRow> rows;
};

void PrintTo(const SuspendCase& c, std::ostream* os) { *os << c.name; }

class SuspendedLogTest : public ::testing::TestWithParam<SuspendCase>, protected LogRig {};

TEST_P(SuspendedLogTest, WritesNoFileButAdvancesTheCounter) {
  source.enabled = GetParam().enabled;
  source.rows = GetParam().rows;
  log.Step(source);
  EXPECT_EQ(log.Counter(), 1);
  EXPECT_EQ(clock.readings, 0u);
  EXPECT_TRUE(FolderEntries(dir.Path()).empty());
}

INSTANTIATE_TEST_SUITE_P(Suspended, SuspendedLogTest,
                         ::testing::Values(SuspendCase{"SwitchOff", false, {{" Bob", {"1", "2", "3"}}}},
                                           SuspendCase{"NoRows", true, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The record ----

TEST(RecordBytes, WritesTextsUnchangedWithSemicolonsAndCrLf) {
  const std::vector<PlayerRow> rows{
      {" Alice", {"10", "2", "48"}},
      {" a;b ; c", {"-1", "0", "999"}},
      {" \x80\xE9\xFF", {"0", "0", "0"}},
      {" cut short", {"5"}},
  };
  EXPECT_EQ(RecordBytes(k7December, ":", rows),
            "07-12-2026 01:05:15\r\n"
            " Alice;10;2;48;\r\n"
            " a;b ; c;-1;0;999;\r\n"
            " \x80\xE9\xFF;0;0;0;\r\n"
            " cut short;5;\r\n"
            "\r\n");
}

struct StampCase {
  LocalTime time;
  std::string separator;
  std::string stamp;
  std::string fileName;
};

void PrintTo(const StampCase& c, std::ostream* os) { *os << c.stamp; }

class StampTest : public ::testing::TestWithParam<StampCase> {};

TEST_P(StampTest, DayMonthYearAndTimeWithTheSeparator) {
  EXPECT_EQ(RecordBytes(GetParam().time, GetParam().separator, {}), GetParam().stamp + "\r\n\r\n");
  EXPECT_EQ(LogFileName(GetParam().time), GetParam().fileName);
}

INSTANTIATE_TEST_SUITE_P(Stamps, StampTest,
                         ::testing::Values(StampCase{{2026, 12, 7, 1, 5, 15}, ":", "07-12-2026 01:05:15", "0712.csv"},
                                           StampCase{{2027, 1, 31, 23, 59, 59}, ".", "31-01-2027 23.59.59", "3101.csv"},
                                           StampCase{{999, 2, 1, 0, 0, 0}, ":", "01-02-0999 00:00:00", "0102.csv"}));

TEST_F(PlayerLogStep, MoreThan256RowsAreWrittenWhole) {
  source.rows.clear();
  std::string expected = "07-12-2026 01:05:15\r\n";
  for (int i = 0; i < 300; ++i) {
    const std::string n = std::to_string(i);
    source.rows.push_back({" player" + n, {n, "0", "50"}});
    expected += " player" + n + ";" + n + ";0;50;\r\n";
  }
  log.Step(source);
  EXPECT_EQ(ReadFileBytes(dir / "0712.csv"), expected + "\r\n");
}

TEST(PlayerLogFile, SameDayAppendsAndMidnightStartsANewFile) {
  TempDir dir;
  FixedClock clock(std::vector<LocalTime>{k7December, k7December, k8December});
  PlayerLog log(clock, ";", dir.Path().string());
  FixedLogSource source;
  source.interval = 1;
  for (int cycle = 0; cycle < 6; ++cycle) {
    log.Step(source);  // records at 0, 2 and 4
  }
  const std::string record = RecordBytes(k7December, ";", source.rows);
  EXPECT_EQ(ReadFileBytes(dir / "0712.csv"), record + record);
  EXPECT_EQ(ReadFileBytes(dir / "0812.csv"), RecordBytes(k8December, ";", source.rows));
}

// Name and stamp come from one reading, even when midnight passes between
// two readings.
TEST(PlayerLogFile, ReadsTheClockOncePerRecord) {
  TempDir dir;
  FixedClock clock(std::vector<LocalTime>{{2026, 12, 7, 23, 59, 59}, k8December});
  PlayerLog log(clock, ":", dir.Path().string());
  FixedLogSource source;
  log.Step(source);
  EXPECT_EQ(clock.readings, 1u);
  EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"0712.csv"});
  EXPECT_EQ(ReadFileBytes(dir / "0712.csv").substr(0, 19), "07-12-2026 23:59:59");
}

struct ExistingFileCase {
  const char* name;
  std::string before;
  std::string kept;  // what stays of it in front of the new record
};

void PrintTo(const ExistingFileCase& c, std::ostream* os) { *os << c.name; }

class ExistingFileTest : public ::testing::TestWithParam<ExistingFileCase>, protected LogRig {};

TEST_P(ExistingFileTest, AppendsBehindWhatIsKept) {
  WriteFileBytes(dir / "0712.csv", GetParam().before);
  log.Step(source);
  EXPECT_EQ(ReadFileBytes(dir / "0712.csv"), GetParam().kept + RecordBytes(k7December, ":", source.rows));
}

const std::string k200 = std::string(200, 'x');

INSTANTIATE_TEST_SUITE_P(Files, ExistingFileTest,
                         ::testing::Values(ExistingFileCase{"Plain", "earlier\r\n", "earlier\r\n"},
                                           ExistingFileCase{"MarkAtTheEnd", "earlier\r\n\x1A", "earlier\r\n"},
                                           ExistingFileCase{"FirstMarkOfTheTailCuts",
                                                            "a\x1A"
                                                            "b\x1A"
                                                            "c",
                                                            "a"},
                                           ExistingFileCase{"MarkOnlyByte", "\x1A", ""},
                                           // The mark as the 128th byte from the end still counts, the 129th not.
                                           ExistingFileCase{"MarkAt128FromEnd", "head\x1A" + std::string(127, 'y'),
                                                            "head"},
                                           ExistingFileCase{"MarkAt129FromEnd", "head\x1A" + std::string(128, 'y'),
                                                            "head\x1A" + std::string(128, 'y')},
                                           ExistingFileCase{"EarlyMarkKept", "A\x1A" + k200, "A\x1A" + k200}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- Failures ----

struct FailureCase {
  const char* name;
  void (*prepare)(const std::filesystem::path& file);
  std::string message;
};

void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class FailedRecordTest : public ::testing::TestWithParam<FailureCase>, protected LogRig {};

TEST_P(FailedRecordTest, ThrowsAndLeavesTheCounter) {
  GetParam().prepare(dir / "0712.csv");
  log.SetCounter(60);
  EXPECT_EQ(IoErrorOf([&] { log.Step(source); }), GetParam().message);
  EXPECT_EQ(log.Counter(), 60);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FailedRecordTest,
    ::testing::Values(
        FailureCase{"FolderOfThatName",
                    [](const std::filesystem::path& file) { std::filesystem::create_directory(file); },
                    "File access denied"},
        FailureCase{"DiskFull",
                    [](const std::filesystem::path& file) { std::filesystem::create_symlink("/dev/full", file); },
                    "Disk full"},
        FailureCase{"MissingFolder",
                    [](const std::filesystem::path& file) { std::filesystem::remove(file.parent_path()); },
                    "Invalid filename"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrova
