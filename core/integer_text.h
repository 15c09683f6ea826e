// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrova {

// Raised when a port or interval text is not a whole number; what() is
// "'TEXT' is not a valid integer value".
class ConversionError final : public std::runtime_error {
 public:
  explicit ConversionError(const std::string& text);
};

// The integer syntax of the entry fields: leading spaces, then an optional
// sign and decimal digits (-2147483648..2147483647), or, unsigned, a
// hexadecimal number behind "$", "x", "X", "0x" or "0X" with at most eight
// digits whose 32 bits are taken as signed. Nothing may follow.
//
// Strict: throws ConversionError for any other text (the empty one too).
std::int32_t StrictIntegerValue(const std::string& text);

// Lenient: 0 for any text outside the syntax.
std::int32_t LenientIntegerValue(const std::string& text);

}  // namespace kestrova
