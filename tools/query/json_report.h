// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/query/query_snapshot.h"

namespace kestrova {

// A JSON string literal, quotes included, for a text of 8-bit bytes: each
// byte stands for the code point of the same number (U+0000 to U+00FF),
// written in UTF-8. The quote, the backslash, line feed, carriage return and
// tab are escaped as \" \\ \n \r \t, the other control characters
// (U+0000-U+001F) as \u00XX with upper-case hex digits.
std::string JsonString(std::string_view bytes);

// {"valid": bool, "labels": {"Label1": text, ..., "Label11": text},
//  "hint": text, "players": [[caption, frags, deaths, ping], ...],
//  "playerList": [{"name": text, "frags": value, "deaths": value,
//  "ping": value}, ...], "infoList": [...], "statusList": [...],
//  "server": {key: value, ...}, "error": null or message}
// on one line, followed by a line feed. "playerList" holds the rows of
// "players" for scripts: the name without the caption's leading blank, and
// a sub-item that is a JSON number (an optional minus, digits without a
// leading zero, an optional fraction) as that number, any other as text,
// one that a failure left out as null. "server" holds the info reply's
// keys and values as the server sent them (ReadInfoFields; a key without a
// value has null); it is null without a valid info reply.
std::string QueryJson(const QuerySnapshot& snapshot);

// {"lines": [...], "error": null or message} on one line, followed by a
// line feed.
std::string ConsoleJson(const std::vector<std::string>& lines, const std::optional<std::string>& error);

}  // namespace kestrova
