// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/integer_text.h"

#include <algorithm>
#include <optional>
#include <string_view>

namespace kestrova {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// One to eight hex digits and nothing else; the 32 bits read as signed.
std::optional<std::int32_t> ParseHex(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) {
      return std::nullopt;
    }
    value = value << 4 | static_cast<std::uint32_t>(digit);
  }
  return static_cast<std::int32_t>(value);
}

// An optional sign, then one or more decimal digits within 32 signed bits.
std::optional<std::int32_t> ParseDecimal(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) {
    return std::nullopt;
  }
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') {
      return std::nullopt;
    }
    value = value * 10 + (c - '0');
    if (value > limit) {
      return std::nullopt;
    }
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

std::optional<std::int32_t> Parse(std::string_view text) {
  text.remove_prefix(std::min(text.find_first_not_of(' '), text.size()));
  if (text.starts_with('$') || text.starts_with('x') || text.starts_with('X')) {
    return ParseHex(text.substr(1));
  }
  if (text.starts_with("0x") || text.starts_with("0X")) {
    return ParseHex(text.substr(2));
  }
  return ParseDecimal(text);
}

}  // namespace

ConversionError::ConversionError(const std::string& text)
    : std::runtime_error("'" + text + "' is not a valid integer value") {}

std::int32_t StrictIntegerValue(const std::string& text) {
  const std::optional<std::int32_t> value = Parse(text);
  if (!value) {
    throw ConversionError(text);
  }
  return *value;
}

std::int32_t LenientIntegerValue(const std::string& text) { return Parse(text).value_or(0); }

}  // namespace kestrova
