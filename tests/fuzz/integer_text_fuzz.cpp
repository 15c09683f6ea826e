// SPDX-License-Identifier: GPL-3.0-or-later
// The strict and the lenient integer conversions of the entry fields, and
// the integer token of "data.dat", against small models written apart.
#include <optional>

#include "core/integer_text.h"
#include "fuzz_support.h"
#include "storage/integer_token.h"
#include "storage/io_error.h"

namespace {

using namespace kestrova;

bool IsDigit(char c, int base) {
  return (c >= '0' && c <= '9') || (base == 16 && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
}

int DigitOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  return (c | 0x20) - 'a' + 10;
}

// The magnitude of `digits` when each is a digit of `base` and the value
// stays at most `limit`.
std::optional<unsigned __int128> Magnitude(std::string_view digits, int base, unsigned __int128 limit) {
  if (digits.empty()) {
    return std::nullopt;
  }
  unsigned __int128 value = 0;
  for (const char c : digits) {
    if (!IsDigit(c, base)) {
      return std::nullopt;
    }
    value = value * static_cast<unsigned>(base) + static_cast<unsigned>(DigitOf(c));
    if (value > limit) {
      return std::nullopt;
    }
  }
  return value;
}

// Fields: leading blanks; a signed 32-bit decimal; or one to eight hex
// digits behind $, x, X, 0x or 0X, read as 32 signed bits.
std::optional<std::int32_t> FieldModel(std::string_view text) {
  while (!text.empty() && text.front() == ' ') {
    text.remove_prefix(1);
  }
  for (const std::string_view prefix : {"$", "x", "X", "0x", "0X"}) {
    if (text.starts_with(prefix)) {
      const std::string_view digits = text.substr(prefix.size());
      const auto value = digits.size() <= 8 ? Magnitude(digits, 16, 0xFFFFFFFFu) : std::nullopt;
      if (!value) {
        return std::nullopt;
      }
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(*value));
    }
  }
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) {
    text.remove_prefix(1);
  }
  const auto value = Magnitude(text, 10, negative ? 2147483648u : 2147483647u);
  if (!value) {
    return std::nullopt;
  }
  return static_cast<std::int32_t>(negative ? -static_cast<std::int64_t>(*value) : static_cast<std::int64_t>(*value));
}

// data.dat: a sign, then decimal digits or hex digits behind $, 0x or 0X,
// within the signed 64-bit range.
std::optional<std::int64_t> TokenModel(std::string_view text) {
  const bool negative = text.starts_with('-');
  if (negative || text.starts_with('+')) {
    text.remove_prefix(1);
  }
  int base = 10;
  for (const std::string_view prefix : {"$", "0x", "0X"}) {
    if (text.starts_with(prefix)) {
      text.remove_prefix(prefix.size());
      base = 16;
      break;
    }
  }
  const unsigned __int128 limit = static_cast<unsigned __int128>(INT64_MAX) + (negative ? 1 : 0);
  const auto value = Magnitude(text, base, limit);
  if (!value) {
    return std::nullopt;
  }
  return negative ? static_cast<std::int64_t>(-static_cast<__int128>(*value)) : static_cast<std::int64_t>(*value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(fuzz::InputText(data, size));

  std::optional<std::int32_t> strict;
  try {
    strict = StrictIntegerValue(text);
  } catch (const ConversionError& error) {
    // what() is a C string: it ends at a zero byte of the text.
    const std::string message = "'" + text + "' is not a valid integer value";
    FUZZ_CHECK(std::string(error.what()) == message.c_str());
  }
  FUZZ_CHECK(strict == FieldModel(text));
  FUZZ_CHECK(LenientIntegerValue(text) == strict.value_or(0));
  if (strict) {
    FUZZ_CHECK(StrictIntegerValue(std::to_string(*strict)) == *strict);
  }

  std::optional<std::int64_t> token;
  try {
    token = IntegerTokenValue(text);
  } catch (const IoError& error) {
    FUZZ_CHECK(error.Code() == 106);
  }
  FUZZ_CHECK(token == TokenModel(text));
  if (token) {
    FUZZ_CHECK(IntegerTokenValue(std::to_string(*token)) == *token);
  }
  return 0;
}
