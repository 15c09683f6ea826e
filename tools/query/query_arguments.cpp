#include "tools/query/query_arguments.h"

#include <cstddef>

namespace kestrova {

namespace {

bool TakesValue(std::string_view argument) {
  return argument == "--game-port" || argument == "--query-port" || argument == "--rcon";
}

// Whether "--help" stands among the arguments as an option of its own, not
// as the value of another option.
bool AsksForHelp(const std::vector<std::string>& arguments) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (arguments[i] == "--help") {
      return true;
    }
    if (TakesValue(arguments[i])) {
      ++i;
    }
  }
  return false;
}

// Splits "--name=value" into its two halves; `value` stays unset for a bare
// "--name".
std::string_view OptionName(std::string_view argument, std::optional<std::string>& value) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos) {
    return argument;
  }
  value = std::string(argument.substr(equals + 1));
  return argument.substr(0, equals);
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

QueryArguments ParseQueryArguments(const std::vector<std::string>& arguments) {
  QueryArguments result;
  std::optional<std::string> gamePort;
  std::optional<std::string> queryPort;
  std::optional<std::string> command;
  std::optional<std::string> addressText;

  if (AsksForHelp(arguments)) {
    result.mode = QueryArguments::Mode::Help;
    return result;
  }

  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--json") {
      if (result.json) {
        throw UsageError("--json is given twice");
      }
      result.json = true;
      continue;
    }
    if (argument.size() > 1 && argument[0] == '-') {
      std::optional<std::string> value;
      const std::string_view name = OptionName(argument, value);
      std::optional<std::string>* slot = nullptr;
      if (name == "--game-port") {
        slot = &gamePort;
      } else if (name == "--query-port") {
        slot = &queryPort;
      } else if (name == "--rcon") {
        slot = &command;
      } else {
        throw UsageError("unknown option " + argument);
      }
      if (slot->has_value()) {
        throw UsageError(std::string(name) + " is given twice");
      }
      if (!value) {
        if (i + 1 >= arguments.size()) {
          throw UsageError(std::string(name) + " needs a value");
        }
        value = arguments[++i];
      }
      *slot = std::move(value);
      continue;
    }
    if (addressText) {
      throw UsageError("unexpected argument " + argument);
    }
    addressText = argument;
  }

  if (command && queryPort) {
    throw UsageError("--query-port has no use with --rcon");
  }
  if (!addressText) {
    throw UsageError("the server address is missing");
  }
  const std::optional<std::uint32_t> address = ParseDottedAddress(*addressText);
  if (!address) {
    throw UsageError("'" + *addressText + "' is not a dotted IPv4 address");
  }

  result.address = *address;
  if (gamePort) {
    result.gamePortText = *gamePort;
  }
  if (queryPort) {
    result.queryPortText = *queryPort;
  }
  if (command) {
    result.mode = QueryArguments::Mode::Console;
    result.command = *command;
  }
  return result;
}

std::string UsageText(std::string_view programName) {
  const std::string name(programName);
  return "Usage: " + name + " [--json] [--game-port TEXT] [--query-port TEXT] ADDRESS\n" +
         "       " + name + " --rcon COMMAND [--json] [--game-port TEXT] ADDRESS\n" +
         "       " + name + " --help\n"
         "\n"
         "Without --rcon: one query cycle against the server at ADDRESS (a dotted\n"
         "IPv4 address): its settings from the game port, then, after a valid info\n"
         "reply, its players from the query port.\n"
         "With --rcon: sends COMMAND to the game port as a console command and\n"
         "prints the lines the server prints back (no wait for a command that\n"
         "contains \"killserver\").\n"
         "\n"
         "  --json              print one JSON object instead of plain lines\n"
         "  --game-port TEXT    game port (default 12203)\n"
         "  --query-port TEXT   query port (default 12300)\n"
         "  --rcon COMMAND      console command to send\n"
         "\n"
         "Exit status: 0 done (a server that does not answer included), 1 failed\n"
         "(the message goes to standard error), 2 wrong usage.\n";
}

}  // namespace kestrova
