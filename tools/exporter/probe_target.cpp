// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exporter/probe_target.h"

#include <algorithm>

#include "core/reply_text.h"
#include "tools/arguments/argument_text.h"
#include "tools/query/query_arguments.h"

namespace kestrova::exporter {

namespace {

// A port in plain decimal digits, 1 to 65535.
std::optional<int> PortValue(std::string_view text) {
  if (text.empty() || text.size() > 5 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const int port = std::stoi(std::string(text));
  return port >= 1 && port <= 65535 ? std::optional<int>(port) : std::nullopt;
}

int Port(std::string_view what, const std::string& text) {
  const std::optional<int> port = PortValue(text);
  if (!port) {
    throw BadRequest(std::string(what) + " " + QuotedArgument(text) + " is not a port from 1 to 65535");
  }
  return *port;
}

// Whether datagrams to `address` reach one host only.
bool NamesOneHost(std::uint32_t address) {
  const std::uint32_t first = address >> 24;
  return first != 0 && first < 224;
}

ProbeTarget ParseTarget(const std::string& text) {
  const std::size_t colon = text.rfind(':');
  const std::string addressText = colon == std::string::npos ? text : text.substr(0, colon);
  const std::optional<std::uint32_t> address = ParseDottedAddress(addressText);
  if (!address) {
    throw BadRequest("target " + QuotedArgument(text) + " is not a dotted IPv4 address with an optional :PORT");
  }
  if (!NamesOneHost(*address)) {
    throw BadRequest("target " + QuotedArgument(text) + " does not name one host");
  }
  ProbeTarget target;
  target.address = *address;
  if (colon != std::string::npos) {
    target.gamePort = Port("target port in", text.substr(colon + 1));
  }
  return target;
}

}  // namespace

ProbeRequest ParseProbeRequest(const UrlArguments& arguments) {
  std::optional<std::string> target;
  std::optional<std::string> queryPort;
  std::optional<std::string> players;
  for (const auto& [name, value] : arguments) {
    std::optional<std::string>* slot = name == "target"       ? &target
                                       : name == "query_port" ? &queryPort
                                       : name == "players"    ? &players
                                                              : nullptr;
    if (slot == nullptr) {
      throw BadRequest("unknown parameter " + QuotedArgument(name) + "; a probe takes target, query_port and players");
    }
    if (slot->has_value()) {
      throw BadRequest("parameter " + QuotedArgument(name) + " is given twice");
    }
    *slot = value.value_or("");
  }
  if (!target) {
    throw BadRequest("the target parameter is missing: /probe?target=ADDRESS:PORT");
  }

  ProbeRequest request;
  request.target = ParseTarget(*target);
  if (queryPort) {
    request.target.queryPort = Port("query_port", *queryPort);
  }
  if (players) {
    if (*players != "0" && *players != "1") {
      throw BadRequest("players " + QuotedArgument(*players) + " is neither 0 nor 1");
    }
    request.players = *players == "1";
  }
  return request;
}

std::string TargetText(const ProbeTarget& target) {
  return AddressToText(target.address) + ":" + std::to_string(target.gamePort);
}

}  // namespace kestrova::exporter
