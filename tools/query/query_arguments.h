// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/arguments/option_reader.h"

namespace kestrova {

// What the command line of kestrova-query asks for.
struct QueryArguments {
  enum class Mode { Query, Console, Help, Version };

  Mode mode = Mode::Query;
  bool json = false;
  // Print the cycle as OpenMetrics text (query cycle only; not with --json).
  bool openMetrics = false;
  // IPv4 address, first octet in the most significant byte.
  std::uint32_t address = 0;
  // Port texts, checked to hold a port from 1 to 65535 and written in
  // decimal.
  std::string gamePortText = "12203";
  std::string queryPortText = "12300";
  // The console command of --rcon as the bytes that are sent.
  std::string command;

  friend bool operator==(const QueryArguments&, const QueryArguments&) = default;
};

// Reads the arguments after the program name by ReadOptions' rules:
// options in any order around the address, values taken verbatim, --help
// or --version deciding alone. A port text must be an integer by the
// window's strict conversion and lie from 1 to 65535. In a `utf8Locale`
// the command is decoded to single-byte text (SingleByteText).
// --query-port belongs to the status query and is refused with --rcon, as
// is --openmetrics; --openmetrics and --json exclude each other. Throws
// UsageError for anything else: an unknown or repeated option, a missing
// or bad value, a missing, extra or malformed address. Its what() is one
// line that quotes at most 40 characters of a bad argument.
QueryArguments ParseQueryArguments(const std::vector<std::string>& arguments, bool utf8Locale = false);

// Four decimal numbers of 0 to 255 with one to three digits each, joined by
// dots, and nothing else; std::nullopt for any other text.
std::optional<std::uint32_t> ParseDottedAddress(std::string_view text);

// The usage text, ending with a line feed.
std::string UsageText(std::string_view programName);

// What --version prints: "kestrova-query " and the version, a line feed.
std::string VersionText();

}  // namespace kestrova
