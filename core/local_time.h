// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrova {

struct LocalTime {
  int year = 0;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;   // 0..23
  int minute = 0;
  int second = 0;
};

// Where the program reads the local date and time; tests pass a fixed one.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual LocalTime Now() const = 0;
};

class SystemClock final : public Clock {
 public:
  LocalTime Now() const override;
};

// The user's long time format, as the regional settings give it.
struct TimeFormat {
  bool leadingZero = true;       // "09:05:07" rather than "9:05:07"
  std::string separator = ":";   // between hours, minutes and seconds
  bool twelveHour = false;       // hours 1..12 with a designator
  bool designatorFirst = false;  // "PM 2:05:09" rather than "2:05:09 PM"
  std::string am = "AM";
  std::string pm = "PM";

  // Read from the process's LC_TIME locale (nl_langinfo T_FMT, T_FMT_AMPM,
  // AM_STR, PM_STR); the program sets that locale from the environment at
  // start.
  static TimeFormat FromLocale();

  // Made from a strftime time pattern such as "%H:%M:%S" or "%p %I:%M:%S":
  // %H/%I pad the hour with a zero, %k/%l do not (nor does a "-" or "_"
  // flag); the separator is the text between the hour and the next
  // conversion (":" when there is none); %I, %l or %p make a 12-hour clock,
  // with the designator in front when %p/%P comes before the hour. %T and %R
  // stand for their 24-hour forms, %r for `ampmPattern`. An empty `am` or
  // `pm` becomes "AM" or "PM".
  static TimeFormat FromPattern(const std::string& timePattern, const std::string& ampmPattern, const std::string& am,
                                const std::string& pm);
};

// The time of day in the given format, for example "14:05:09" or "2:05:09 PM".
std::string FormatLongTime(const LocalTime& time, const TimeFormat& format);

}  // namespace kestrova
