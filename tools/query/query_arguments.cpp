// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/query/query_arguments.h"

#include <cstddef>

#include "core/integer_text.h"
#include "tools/arguments/argument_text.h"

namespace kestrova {

namespace {

constexpr LongOption kOptions[] = {
    {"json", false}, {"openmetrics", false}, {"game-port", true}, {"query-port", true}, {"rcon", true}};

// The port `text` names, in decimal; the window's strict integer rules,
// then the range of a port.
std::string PortText(std::string_view option, const std::string& text) {
  std::int32_t port = 0;
  try {
    port = StrictIntegerValue(text);
  } catch (const ConversionError&) {
    throw UsageError(std::string(option) + ": " + QuotedArgument(text) + " is not a valid integer value");
  }
  if (port < 1 || port > 65535) {
    throw UsageError(std::string(option) + ": " + QuotedArgument(text) + " is not a port from 1 to 65535");
  }
  return std::to_string(port);
}

}  // namespace

std::optional<std::uint32_t> ParseDottedAddress(std::string_view text) {
  std::uint32_t address = 0;
  std::size_t position = 0;
  for (int octet = 0; octet < 4; ++octet) {
    if (octet > 0) {
      if (position >= text.size() || text[position] != '.') {
        return std::nullopt;
      }
      ++position;
    }
    unsigned value = 0;
    std::size_t digits = 0;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
      value = value * 10 + static_cast<unsigned>(text[position] - '0');
      ++position;
      if (++digits > 3) {
        return std::nullopt;
      }
    }
    if (digits == 0 || value > 255) {
      return std::nullopt;
    }
    address = (address << 8) | value;
  }
  if (position != text.size()) {
    return std::nullopt;
  }
  return address;
}

QueryArguments ParseQueryArguments(const std::vector<std::string>& arguments, bool utf8Locale) {
  const OptionsRead read = ReadOptions(arguments, kOptions, 1);
  QueryArguments result;
  if (!read.asks.empty()) {
    result.mode = read.asks == "--help" ? QueryArguments::Mode::Help : QueryArguments::Mode::Version;
    return result;
  }
  std::optional<std::string> gamePort;
  std::optional<std::string> queryPort;
  std::optional<std::string> command;
  for (const auto& [name, value] : read.options) {
    if (name == "--json") {
      result.json = true;
    } else if (name == "--openmetrics") {
      result.openMetrics = true;
    } else if (name == "--game-port") {
      gamePort = value;
    } else if (name == "--query-port") {
      queryPort = value;
    } else {
      command = value;
    }
  }

  if (command && queryPort) {
    throw UsageError("--query-port has no use with --rcon");
  }
  if (command && result.openMetrics) {
    throw UsageError("--openmetrics has no use with --rcon");
  }
  if (result.json && result.openMetrics) {
    throw UsageError("--json and --openmetrics exclude each other");
  }
  if (read.operands.empty()) {
    throw UsageError("the server address is missing");
  }
  const std::optional<std::uint32_t> address = ParseDottedAddress(read.operands.front());
  if (!address) {
    throw UsageError(QuotedArgument(read.operands.front()) + " is not a dotted IPv4 address");
  }

  result.address = *address;
  if (gamePort) {
    result.gamePortText = PortText("--game-port", *gamePort);
  }
  if (queryPort) {
    result.queryPortText = PortText("--query-port", *queryPort);
  }
  if (command) {
    result.mode = QueryArguments::Mode::Console;
    result.command = utf8Locale ? SingleByteText(*command, "--rcon") : *command;
  }
  return result;
}

std::string UsageText(std::string_view programName) {
  const std::string name(programName);
  return "Usage: " + name + " [--json | --openmetrics] [--game-port PORT] [--query-port PORT] ADDRESS\n" + "       " +
         name + " --rcon COMMAND [--json] [--game-port PORT] ADDRESS\n" + "       " + name +
         " --help | --version\n"
         "\n"
         "Without --rcon: one query cycle against the server at ADDRESS, a dotted\n"
         "IPv4 address such as 192.168.1.20: its settings from the game port,\n"
         "then, after a valid info reply, its players from the query port.\n"
         "With --rcon: sends COMMAND to the game port as a console command and\n"
         "prints the lines the server prints back (no wait for a command that\n"
         "contains \"killserver\").\n"
         "\n"
         "  --json              print one JSON object instead of plain lines\n"
         "  --openmetrics       print the cycle as metrics in the OpenMetrics text\n"
         "                      format (for Prometheus)\n"
         "  --game-port PORT    game port, 1 to 65535 (default 12203)\n"
         "  --query-port PORT   query port, 1 to 65535 (default 12300)\n"
         "  --rcon COMMAND      console command to send\n"
         "  --help              print this text\n"
         "  --version           print the version\n"
         "\n"
         "The server's texts are single-byte, one byte to a character. In a UTF-8\n"
         "locale COMMAND is read as characters, and each goes out as the one byte\n"
         "of its number, U+0000 to U+00FF (U+00E9, e with acute, as the byte E9);\n"
         "a character beyond U+00FF is wrong usage. A COMMAND that is not valid\n"
         "UTF-8 goes out byte for byte. Plain output gives the server's bytes\n"
         "unchanged. JSON and OpenMetrics labels map each byte to the character\n"
         "of the same number, U+0000 to U+00FF, so a name that a server holds in\n"
         "UTF-8 shows two characters for each letter beyond ASCII.\n"
         "\n"
         "Exit status:\n"
         "  0  done (an empty console reply included)\n"
         "  1  failed; the message goes to standard error\n"
         "  2  wrong usage\n"
         "  3  no complete answer: no info reply; a status reply that still lacked\n"
         "     a part after its one retry (no player rows then); or with --rcon no\n"
         "     reply datagram (a command with \"killserver\" waits for none)\n";
}

std::string VersionText() { return std::string("kestrova-query ") + KESTROVA_VERSION + "\n"; }

}  // namespace kestrova
