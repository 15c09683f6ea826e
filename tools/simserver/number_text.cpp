// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/number_text.h"

#include <charconv>
#include <stdexcept>
#include <string>

namespace kestrova::simserver {

int ParseInteger(std::string_view text, std::string_view what, int minimum, int maximum) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc{} || stop != end || value < minimum || value > maximum) {
    throw std::invalid_argument(std::string(what) + " must be a number from " + std::to_string(minimum) + " to " +
                                std::to_string(maximum) + ", not '" + std::string(text) + "'");
  }
  return value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) {
      return false;
    }
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) {
    return {};
  }
  std::size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool ParseOnOff(std::string_view value) {
  if (value == "on") {
    return true;
  }
  if (value == "off") {
    return false;
  }
  throw std::invalid_argument("expected on or off, not '" + std::string(value) + "'");
}

}  // namespace kestrova::simserver
