// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// An ordered list of texts cut from one reply; empty texts are allowed.
using TokenList = std::vector<std::string>;

// The bytes before the first zero byte; the whole text when it holds none.
std::string CutAtNul(std::string_view text);

// Every occurrence of `pattern` replaced by `replacement`, left to right,
// without overlaps and without searching a replacement again. An empty
// pattern leaves the text unchanged.
std::string ReplaceAll(std::string_view pattern, std::string_view replacement, std::string_view text);

// How every query reply is cleaned: cut at the first zero byte, every 0xFF
// byte deleted, every backslash turned into a comma.
std::string NormaliseReply(std::string_view received);

// Empties `list` and fills it with the tokens of a comma list. Blanks
// (bytes 0x01-0x20) separate tokens like commas; a token that starts with a
// double quote is read up to its closing quote, with "" standing for one
// quote. Bytes 0x80-0xFF are ordinary characters.
void SplitCommaText(std::string_view text, TokenList& list);

// Dotted decimal text of an IPv4 address held with its first octet in the
// most significant byte: 0xC0A80A05 gives "192.168.10.5".
std::string AddressToText(std::uint32_t address);

// Exact, case-sensitive comparison of two texts.
bool Equals(std::string_view a, std::string_view b);

// Whether `pattern` occurs in `text` as consecutive bytes, case mattering.
// No text contains the empty pattern.
bool Contains(std::string_view text, std::string_view pattern);

}  // namespace kestrova
