// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova {

// The keys and values of an info reply, in the order the server sent them.
// A key without a value (at the end of the reply) has none.
using InfoFields = std::vector<std::pair<std::string, std::optional<std::string>>>;

// Reads the fields of a received info reply as the server sent them: the
// reply is cut at its first zero byte and its FF bytes are dropped, as the
// window reads it; then the header is passed over (bytes 0x01-0x20,
// "infoResponse", blanks and one backslash) and the rest is split at
// backslashes only, so values keep their blanks and commas. A key sent
// twice is listed once, where it first stood, with its last value. Only
// for a reply whose `valid` flag says the window took it as an info reply;
// nothing otherwise.
std::optional<InfoFields> ReadInfoFields(std::string_view received, bool valid);

// The value of `key` among `fields`, if it is there with a value.
std::optional<std::string> FieldValue(const InfoFields& fields, std::string_view key);

}  // namespace kestrova
