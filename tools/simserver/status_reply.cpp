// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/status_reply.h"

#include <string_view>

#include "tools/simserver/datagram_limits.h"

namespace kestrova::simserver {

namespace {

constexpr std::string_view kFinal = "\\final\\";

std::string Pair(std::string_view key, std::string_view value) {
  std::string pair = "\\";
  pair += key;
  pair += '\\';
  pair += value;
  return pair;
}

std::vector<std::string> StatusPairs(const ServerState& state, int hostPort) {
  const ServerSettings& s = state.settings;
  std::vector<std::string> pairs = {
      Pair("gamename", "mohaa"),
      Pair("gamever", s.gameVersion),
      Pair("location", "0"),
      Pair("hostname", s.hostname),
      Pair("hostport", std::to_string(hostPort)),
      Pair("mapname", MapWithoutFolder(s.map)),
      Pair("gametype", GametypeName(s)),
      Pair("numplayers", std::to_string(state.Players().size())),
      Pair("maxplayers", std::to_string(s.maxClients)),
      Pair("gamemode", "openplaying"),
      Pair("fraglimit", std::to_string(s.fraglimit)),
      Pair("timelimit", std::to_string(s.timelimit)),
  };
  int n = 0;
  for (const Player& player : state.Players()) {
    std::string number = std::to_string(n++);
    pairs.push_back(Pair("player_" + number, player.name));
    pairs.push_back(Pair("frags_" + number, std::to_string(player.frags)));
    pairs.push_back(Pair("deaths_" + number, std::to_string(player.deaths)));
    pairs.push_back(Pair("ping_" + number, std::to_string(player.ping)));
  }
  return pairs;
}

std::string QueryId(int queryNumber, int part) {
  return Pair("queryid", std::to_string(queryNumber) + "." + std::to_string(part));
}

}  // namespace

std::vector<std::string> StatusReplies(const ServerState& state, int hostPort, int queryNumber, bool finalAfter) {
  std::vector<std::string> datagrams;
  std::string current;
  bool currentHasPairs = false;
  for (const std::string& pair : StatusPairs(state, hostPort)) {
    // Room is kept for the final marker in every part, since which part is
    // the last is known only at the end.
    std::size_t trailer = kFinal.size() + QueryId(queryNumber, static_cast<int>(datagrams.size()) + 1).size();
    if (currentHasPairs && current.size() + pair.size() + trailer > kMaxReplyDatagram) {
      current += QueryId(queryNumber, static_cast<int>(datagrams.size()) + 1);
      datagrams.push_back(std::move(current));
      current.clear();
    }
    current += pair;
    currentHasPairs = true;
  }
  const std::string lastId = QueryId(queryNumber, static_cast<int>(datagrams.size()) + 1);
  current += finalAfter ? lastId + std::string(kFinal) : std::string(kFinal) + lastId;
  datagrams.push_back(std::move(current));
  return datagrams;
}

}  // namespace kestrova::simserver
