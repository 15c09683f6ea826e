#pragma once

#include <string>

namespace kestrova {

struct LocalTime {
  int year = 0;
  int month = 1;   // 1..12
  int day = 1;     // 1..31
  int hour = 0;    // 0..23
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

  // Read from the process's LC_TIME locale (nl_langinfo).
  static TimeFormat FromLocale();
};

// The time of day in the given format, for example "14:05:09" or "2:05:09 PM".
std::string FormatLongTime(const LocalTime& time, const TimeFormat& format);

}  // namespace kestrova
