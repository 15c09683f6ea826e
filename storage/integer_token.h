// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string_view>

namespace kestrova {

// The value of an integer token of a text file: an optional "+" or "-", then
// decimal digits, or hexadecimal digits (0-9, A-F, a-f) behind "$", "0x" or
// "0X". Throws IoError 106 "Invalid numeric input" when the text holds no
// digit, has any character left over, or its value leaves the signed 64-bit
// range.
std::int64_t IntegerTokenValue(std::string_view text);

}  // namespace kestrova
