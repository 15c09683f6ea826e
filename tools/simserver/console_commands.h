// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// The lines the server prints for one request "rcon PASSWORD COMMAND" (the
// text after the out-of-band header), acting on `state`: "Bad
// rconpassword." for a wrong password; otherwise the output of status, say,
// kick, clientkick, map, serverinfo or cmdlist, or "Unknown command: WORD".
// A command that prints nothing gives no lines. map changes only to a map
// the server has (the stock dm and obj maps or the current one) and prints
// "Can't find map maps/NAME.bsp" for any other. Nothing (no value) when the
// text is not an rcon request at all.
std::optional<std::vector<std::string>> RconOutput(ServerState& state, std::string_view request);

}  // namespace kestrova::simserver
