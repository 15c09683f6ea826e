// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/info_reply.h"

#include "tools/simserver/datagram_limits.h"

namespace kestrova::simserver {

std::string InfoReply(const ServerState& state, std::string_view challenge) {
  const ServerSettings& s = state.settings;
  std::string reply(kReplyHeader);
  reply += "infoResponse\n";
  auto add = [&reply](std::string_view key, std::string_view value) {
    reply += '\\';
    reply += key;
    reply += '\\';
    reply += value;
  };
  add("gamever", s.gameVersion);
  add("maxPing", std::to_string(s.maxPing));
  add("pure", std::to_string(s.pure));
  add("gametypestring", GametypeName(s));
  add("gametype", std::to_string(s.gametype));
  add("sv_maxclients", std::to_string(s.maxClients));
  add("clients", std::to_string(state.Players().size()));
  add("mapname", s.map);
  add("hostname", s.hostname);
  add("protocol", std::to_string(kProtocolVersion));
  add("challenge", challenge);
  return reply;
}

}  // namespace kestrova::simserver
