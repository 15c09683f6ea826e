// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kestrova::exporter {

// A request's query arguments as they came, decoded; an argument without
// "=" has no value.
using UrlArguments = std::vector<std::pair<std::string, std::optional<std::string>>>;

// The server a probe asks: what the cache keys its answers by.
struct ProbeTarget {
  // IPv4 address, first octet in the most significant byte.
  std::uint32_t address = 0;
  int gamePort = 12203;
  int queryPort = 12300;

  friend auto operator<=>(const ProbeTarget&, const ProbeTarget&) = default;
};

// What GET /probe asks for.
struct ProbeRequest {
  ProbeTarget target;
  // Whether the answer holds the per-player series ("players=1", the default).
  bool players = true;
};

// The request cannot be served as it stands; what() is one line for the
// asker, the body of a 400 answer.
class BadRequest final : public std::runtime_error {
 public:
  explicit BadRequest(const std::string& reason) : std::runtime_error(reason) {}
};

// Reads the arguments of GET /probe: "target" (ADDRESS or ADDRESS:PORT,
// ADDRESS a dotted IPv4 address of one host, PORT the game port, default
// 12203), "query_port" (default 12300) and "players" (0 or 1). A port is
// 1 to 65535 in plain decimal digits. The address must name one host: the
// local network's 0.0.0.0/8, multicast and the reserved 240.0.0.0/4 with
// the broadcast address are refused, so that no datagram goes to many.
// Throws BadRequest for a missing target, a bad value, an argument given
// twice or one that is not known.
ProbeRequest ParseProbeRequest(const UrlArguments& arguments);

// "ADDRESS:PORT" of the game port, as the server label writes it.
std::string TargetText(const ProbeTarget& target);

}  // namespace kestrova::exporter
