// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/integer_token.h"

#include <limits>

#include "storage/io_error.h"

namespace kestrova {

namespace {

constexpr int kInvalidNumericInput = 106;

int DigitValue(char c, unsigned base) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (base == 16 && c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (base == 16 && c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

}  // namespace

std::int64_t IntegerTokenValue(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  unsigned base = 10;
  if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) {
    throw IoError(kInvalidNumericInput);
  }

  // The magnitude may reach 2^63 only for a negative value.
  const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()) + (negative ? 1 : 0);
  std::uint64_t magnitude = 0;
  for (const char c : text) {
    const int digit = DigitValue(c, base);
    if (digit < 0 || magnitude > (limit - static_cast<std::uint64_t>(digit)) / base) {
      throw IoError(kInvalidNumericInput);
    }
    magnitude = magnitude * base + static_cast<std::uint64_t>(digit);
  }
  // Unsigned negation, then the modular conversion, so -2^63 needs no
  // signed overflow.
  return static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
}

}  // namespace kestrova
