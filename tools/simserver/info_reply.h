// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// The protocol number the info reply reports.
inline constexpr int kProtocolVersion = 8;

// The answer to "getinfo CHALLENGE": the reply header, "infoResponse", a
// line feed, then \key\value pairs in the order gamever, maxPing, pure,
// gametypestring, gametype, sv_maxclients, clients, mapname, hostname,
// protocol, challenge. No line feed at the end.
std::string InfoReply(const ServerState& state, std::string_view challenge);

}  // namespace kestrova::simserver
