// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The characters of `text` when it is valid UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF); std::nullopt otherwise.
std::optional<std::vector<std::uint32_t>> DecodeUtf8(std::string_view text);

// What an argument from a UTF-8 locale sends: its characters, each as the
// one byte of its number, since the server's text is single-byte and
// U+0000-U+00FF map onto it one to one (the JSON output maps them back the
// same way). An argument that is not valid UTF-8 is taken byte for byte.
// Throws UsageError naming `what` and the first character above U+00FF.
std::string SingleByteText(std::string_view argument, std::string_view what);

// An argument as a usage message quotes it: in single quotes, at most 40
// characters (a cut one ends in "..."), control characters shown as "?",
// so that the message stays on one line.
std::string QuotedArgument(std::string_view argument);

}  // namespace kestrova
