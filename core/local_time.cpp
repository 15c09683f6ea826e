// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/local_time.h"

#include <langinfo.h>

#include <cstddef>
#include <ctime>
#include <string_view>
#include <vector>

namespace kestrova {

namespace {

// One conversion of a strftime format: its letter and whether padding was
// turned off by a flag ("%-I", "%_H").
struct Conversion {
  std::size_t start = std::string::npos;  // position of its '%'
  std::size_t end = std::string::npos;    // position after its letter
  char letter = 0;
  bool unpadded = false;
};

std::string LangInfo(nl_item item) {
  const char* text = nl_langinfo(item);
  return text == nullptr ? std::string() : std::string(text);
}

// The pattern with the composite conversions written out, so that the
// hour, minute and designator conversions can be found one by one.
std::string ExpandComposites(const std::string& pattern, const std::string& ampmPattern) {
  std::string expanded;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 == pattern.size()) {
      expanded += pattern[i];
      continue;
    }
    const char letter = pattern[i + 1];
    if (letter == 'T') {
      expanded += "%H:%M:%S";
    } else if (letter == 'R') {
      expanded += "%H:%M";
    } else if (letter == 'r') {
      // Expanded once only, so a pattern that names itself cannot loop.
      expanded += ampmPattern.empty() || ampmPattern.find("%r") != std::string::npos ? "%I:%M:%S %p" : ampmPattern;
    } else {
      expanded += pattern[i];
      expanded += letter;
    }
    ++i;
  }
  return expanded;
}

// Every conversion of an expanded format, in order; "%%" is plain text.
std::vector<Conversion> Conversions(std::string_view format) {
  std::vector<Conversion> found;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') {
      continue;
    }
    Conversion conversion;
    conversion.start = i;
    std::size_t at = i + 1;
    while (at < format.size() && std::string_view("-_0^#").find(format[at]) != std::string_view::npos) {
      conversion.unpadded = conversion.unpadded || format[at] == '-' || format[at] == '_';
      ++at;
    }
    if (at < format.size() && (format[at] == 'E' || format[at] == 'O')) {
      ++at;
    }
    if (at == format.size()) {
      break;
    }
    conversion.letter = format[at];
    conversion.end = at + 1;
    i = at;
    if (conversion.letter != '%') {
      found.push_back(conversion);
    }
  }
  return found;
}

std::string TwoDigits(int value) {
  return std::string{static_cast<char>('0' + value / 10 % 10), static_cast<char>('0' + value % 10)};
}

}  // namespace

LocalTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return LocalTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

TimeFormat TimeFormat::FromLocale() {
  return FromPattern(LangInfo(T_FMT), LangInfo(T_FMT_AMPM), LangInfo(AM_STR), LangInfo(PM_STR));
}

TimeFormat TimeFormat::FromPattern(const std::string& timePattern, const std::string& ampmPattern,
                                   const std::string& am, const std::string& pm) {
  TimeFormat result;
  const std::string pattern = ExpandComposites(timePattern, ampmPattern);
  const std::vector<Conversion> conversions = Conversions(pattern);

  std::size_t hourIndex = conversions.size();
  for (std::size_t k = 0; k < conversions.size(); ++k) {
    const char letter = conversions[k].letter;
    if (letter == 'H' || letter == 'k' || letter == 'I' || letter == 'l') {
      hourIndex = k;
      break;
    }
  }
  bool hasDesignator = false;
  bool designatorBeforeHour = false;
  for (std::size_t k = 0; k < conversions.size(); ++k) {
    if (conversions[k].letter == 'p' || conversions[k].letter == 'P') {
      hasDesignator = true;
      designatorBeforeHour = designatorBeforeHour || k < hourIndex;
    }
  }

  bool twelveHourLetter = false;
  if (hourIndex < conversions.size()) {
    const Conversion& hour = conversions[hourIndex];
    result.leadingZero = (hour.letter == 'H' || hour.letter == 'I') && !hour.unpadded;
    twelveHourLetter = hour.letter == 'I' || hour.letter == 'l';
    if (hourIndex + 1 < conversions.size()) {
      result.separator = pattern.substr(hour.end, conversions[hourIndex + 1].start - hour.end);
    }
  }
  if (result.separator.empty()) {
    result.separator = ":";
  }
  result.twelveHour = twelveHourLetter || hasDesignator;
  result.designatorFirst = hasDesignator && designatorBeforeHour;
  if (!am.empty()) {
    result.am = am;
  }
  if (!pm.empty()) {
    result.pm = pm;
  }
  return result;
}

std::string FormatLongTime(const LocalTime& time, const TimeFormat& format) {
  int hour = time.hour;
  if (format.twelveHour) {
    hour %= 12;
    if (hour == 0) {
      hour = 12;
    }
  }
  std::string text = format.leadingZero ? TwoDigits(hour) : std::to_string(hour);
  text += format.separator + TwoDigits(time.minute) + format.separator + TwoDigits(time.second);
  if (!format.twelveHour) {
    return text;
  }
  const std::string& designator = time.hour < 12 ? format.am : format.pm;
  return format.designatorFirst ? designator + " " + text : text + " " + designator;
}

}  // namespace kestrova
