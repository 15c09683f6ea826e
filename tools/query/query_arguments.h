#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// What the command line of kestrova-query asks for.
struct QueryArguments {
  enum class Mode { Query, Console, Help };

  Mode mode = Mode::Query;
  bool json = false;
  // IPv4 address, first octet in the most significant byte.
  std::uint32_t address = 0;
  // Port texts, converted only when a datagram is sent, exactly as the
  // window's port fields are.
  std::string gamePortText = "12203";
  std::string queryPortText = "12300";
  // The console command of --rcon, sent byte for byte.
  std::string command;

  friend bool operator==(const QueryArguments&, const QueryArguments&) = default;
};

// The command line does not follow either usage form; what() says why.
class UsageError final : public std::runtime_error {
 public:
  explicit UsageError(const std::string& reason) : std::runtime_error(reason) {}
};

// Reads the arguments after the program name. Options may stand in any
// order around the address; option values are taken verbatim (an empty
// text or one starting with "-" included), also in the "--name=value" form.
// --query-port belongs to the status query and is refused with --rcon.
// "--help" anywhere (but as an option's value) asks for the usage text and
// nothing else is checked. Throws UsageError for anything
// else: an unknown or repeated option, a missing value, a missing, extra or
// malformed address.
QueryArguments ParseQueryArguments(const std::vector<std::string>& arguments);

// Four decimal numbers of 0 to 255 with one to three digits each, joined by
// dots, and nothing else; std::nullopt for any other text.
std::optional<std::uint32_t> ParseDottedAddress(std::string_view text);

// The usage text, ending with a line feed.
std::string UsageText(std::string_view programName);

}  // namespace kestrova
