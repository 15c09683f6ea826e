// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/udp_peer.h"

namespace kestrova::test {

using Pairs = std::vector<std::pair<std::string, std::string>>;

inline const std::string kRequestHeader = "\xFF\xFF\xFF\xFF\x02";
inline const std::string kPrintHeader = "\xFF\xFF\xFF\xFF\x01print\n";

inline std::string InfoRequest(const std::string& challenge = "xxx") { return kRequestHeader + "getinfo " + challenge; }
inline std::string RconRequest(const std::string& command, const std::string& password = "secret") {
  return kRequestHeader + "rcon " + password + " " + command;
}
inline const std::string kStatusRequest = "\\status\\";

// The \key\value pairs of a text that begins with a backslash. A dangling
// key gets the value "<missing>", so a cut pair shows in a comparison.
inline Pairs SplitPairs(std::string_view text) {
  std::vector<std::string> fields;
  std::size_t start = 1;
  while (start <= text.size()) {
    std::size_t end = text.find('\\', start);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    fields.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  Pairs pairs;
  for (std::size_t i = 0; i < fields.size(); i += 2) {
    pairs.emplace_back(fields[i], i + 1 < fields.size() ? fields[i + 1] : "<missing>");
  }
  return pairs;
}

// Every datagram that arrives until the peer has been quiet for `quietMs`
// (the first one may take up to `firstMs`). The server sends the datagrams
// of one reply back to back, so a short quiet time catches them all.
inline std::vector<std::string> ReceiveAll(UdpPeer& peer, int firstMs = 3000, int quietMs = 100) {
  std::vector<std::string> datagrams;
  int wait = firstMs;
  while (std::optional<std::string> datagram = peer.Receive(wait)) {
    datagrams.push_back(std::move(*datagram));
    wait = quietMs;
  }
  return datagrams;
}

// The printed lines of console reply datagrams (each must carry the print
// header, else the result holds a marker line saying so).
inline std::vector<std::string> PrintedLines(const std::vector<std::string>& datagrams) {
  std::string text;
  for (const std::string& datagram : datagrams) {
    if (!datagram.starts_with(kPrintHeader)) {
      return {"<no print header>"};
    }
    text += datagram.substr(kPrintHeader.size());
  }
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  if (start < text.size()) {
    lines.push_back("<unended> " + text.substr(start));
  }
  return lines;
}

}  // namespace kestrova::test
