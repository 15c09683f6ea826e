// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/local_time.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace kestrova::test {
namespace {

TimeFormat TwelveHour(bool leadingZero, bool designatorFirst) {
  TimeFormat format;
  format.twelveHour = true;
  format.leadingZero = leadingZero;
  format.designatorFirst = designatorFirst;
  return format;
}

TimeFormat NoLeadingZero() {
  TimeFormat format;
  format.leadingZero = false;
  return format;
}

TimeFormat Separator(const std::string& separator) {
  TimeFormat format;
  format.separator = separator;
  return format;
}

TimeFormat Designators(const std::string& am, const std::string& pm) {
  TimeFormat format = TwelveHour(false, true);
  format.am = am;
  format.pm = pm;
  return format;
}

struct FormatCase {
  const char* name;
  TimeFormat format;
  LocalTime time;
  std::string text;
};

class LongTimeTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(LongTimeTest, WritesTheTimeOfDay) {
  EXPECT_EQ(FormatLongTime(GetParam().time, GetParam().format), GetParam().text);
}

LocalTime At(int hour, int minute, int second) { return LocalTime{2024, 3, 1, hour, minute, second}; }

INSTANTIATE_TEST_SUITE_P(
    Formats, LongTimeTest,
    ::testing::Values(FormatCase{"LeadingZero24", TimeFormat{}, At(14, 5, 9), "14:05:09"},
                      FormatCase{"LeadingZeroMorning", TimeFormat{}, At(9, 5, 7), "09:05:07"},
                      FormatCase{"Midnight24", TimeFormat{}, At(0, 0, 0), "00:00:00"},
                      FormatCase{"NoLeadingZero", NoLeadingZero(), At(9, 5, 7), "9:05:07"},
                      FormatCase{"NoLeadingZeroTwoDigits", NoLeadingZero(), At(23, 59, 59), "23:59:59"},
                      FormatCase{"OtherSeparator", Separator("."), At(14, 5, 9), "14.05.09"},
                      FormatCase{"TwelveHourBehind", TwelveHour(false, false), At(14, 5, 9), "2:05:09 PM"},
                      FormatCase{"TwelveHourMidnight", TwelveHour(false, false), At(0, 1, 2), "12:01:02 AM"},
                      FormatCase{"TwelveHourNoon", TwelveHour(false, false), At(12, 30, 0), "12:30:00 PM"},
                      FormatCase{"TwelveHourBeforeNoon", TwelveHour(false, false), At(11, 59, 59), "11:59:59 AM"},
                      FormatCase{"TwelveHourLeadingZero", TwelveHour(true, false), At(9, 5, 7), "09:05:07 AM"},
                      FormatCase{"DesignatorFirst", TwelveHour(false, true), At(14, 5, 9), "PM 2:05:09"},
                      FormatCase{"LocaleDesignators", Designators("vorm.", "nachm."), At(1, 2, 3), "vorm. 1:02:03"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PatternCase {
  const char* name;
  std::string pattern;
  std::string ampmPattern;
  bool leadingZero;
  std::string separator;
  bool twelveHour;
  bool designatorFirst;
};

class TimePatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(TimePatternTest, ReadsTheLocalePattern) {
  const PatternCase& c = GetParam();

  const TimeFormat format = TimeFormat::FromPattern(c.pattern, c.ampmPattern, "am", "pm");

  EXPECT_EQ(format.leadingZero, c.leadingZero);
  EXPECT_EQ(format.separator, c.separator);
  EXPECT_EQ(format.twelveHour, c.twelveHour);
  EXPECT_EQ(format.designatorFirst, c.designatorFirst);
}

INSTANTIATE_TEST_SUITE_P(Patterns, TimePatternTest,
                         ::testing::Values(PatternCase{"Plain24", "%H:%M:%S", "", true, ":", false, false},
                                           PatternCase{"T", "%T", "", true, ":", false, false},
                                           PatternCase{"R", "%R", "", true, ":", false, false},
                                           PatternCase{"Dots", "%H.%M.%S", "", true, ".", false, false},
                                           PatternCase{"NoPad24", "%k:%M:%S", "", false, ":", false, false},
                                           PatternCase{"TwelveBehind", "%I:%M:%S %p", "", true, ":", true, false},
                                           PatternCase{"TwelveNoPad", "%l:%M:%S %p", "", false, ":", true, false},
                                           PatternCase{"FlagNoPad", "%-I:%M:%S %p", "", false, ":", true, false},
                                           PatternCase{"DesignatorFirst", "%p %I:%M:%S", "", true, ":", true, true},
                                           PatternCase{"LowerDesignatorFirst", "%P%l:%M", "", false, ":", true, true},
                                           PatternCase{"WordSeparator", "%Hh%M", "", true, "h", false, false},
                                           PatternCase{"AdjacentConversions", "%H%M%S", "", true, ":", false, false},
                                           PatternCase{"ExpandsR", "%r", "%p %l.%M.%S", false, ".", true, true},
                                           PatternCase{"RWithoutAmpmPattern", "%r", "", true, ":", true, false},
                                           PatternCase{"Empty", "", "", true, ":", false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TimePatternTest, EmptyDesignatorsFallBack) {
  const TimeFormat format = TimeFormat::FromPattern("%I:%M:%S %p", "", "", "");

  EXPECT_EQ(format.am, "AM");
  EXPECT_EQ(format.pm, "PM");
}

TEST(TimeFormatTest, CLocaleIsTwentyFourHourWithColons) {
  const std::string previous = std::setlocale(LC_TIME, nullptr);
  ASSERT_NE(std::setlocale(LC_TIME, "C"), nullptr);

  const TimeFormat format = TimeFormat::FromLocale();

  std::setlocale(LC_TIME, previous.c_str());
  EXPECT_TRUE(format.leadingZero);
  EXPECT_EQ(format.separator, ":");
  EXPECT_FALSE(format.twelveHour);
  EXPECT_EQ(FormatLongTime(At(14, 5, 9), format), "14:05:09");
}

}  // namespace
}  // namespace kestrova::test
