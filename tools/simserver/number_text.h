// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace kestrova::simserver {

// The value of a decimal integer written with an optional leading minus and
// nothing else; throws std::invalid_argument naming `what` when the text is
// not such a number or lies outside [minimum, maximum].
int ParseInteger(std::string_view text, std::string_view what, int minimum, int maximum);

// Whether `a` and `b` hold the same letters, ASCII case not mattering.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// true for "on", false for "off"; throws std::invalid_argument otherwise.
bool ParseOnOff(std::string_view value);

// `text` without the blanks and tabs at both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace kestrova::simserver
