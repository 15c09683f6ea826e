// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// The answer to "\status\" as datagrams. The reply is a run of \key\value
// pairs: gamename, gamever, location, hostname, hostport, mapname (without
// its folder), gametype, numplayers, maxplayers, gamemode, fraglimit,
// timelimit, then for the N-th player (N from 0) player_N, frags_N,
// deaths_N and ping_N. It is cut at pair boundaries into datagrams of at
// most kMaxReplyDatagram bytes; a single pair too long for that travels
// alone. Each datagram ends with \queryid\Q.P (Q = `queryNumber`, P the part
// from 1); the last one also carries \final\, before that marker or, with
// `finalAfter`, after it.
std::vector<std::string> StatusReplies(const ServerState& state, int hostPort, int queryNumber, bool finalAfter);

}  // namespace kestrova::simserver
