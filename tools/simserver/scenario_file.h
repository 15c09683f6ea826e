// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// What a scenario file sets up: settings and the players to seat.
struct Scenario final {
  ServerSettings settings;
  std::vector<Player> players;
  int generatedPlayers = 0;
};

// Reads scenario `text` on top of `scenario`: one "key=value" per line,
// where key is a setting (hostname, map, gametype, gametypestring,
// fraglimit, timelimit, maxclients, maxping, pure, gamever, password),
// "player" with NAME;FRAGS;DEATHS;PING (repeatable), or "players" with a
// count of generated players. Blank lines and lines starting with # are
// skipped; a CR before the line feed is ignored. Throws
// std::invalid_argument "line N: reason" for a line it cannot use.
void ReadScenario(const std::string& text, Scenario& scenario);

// The content of the file at `path`; throws std::runtime_error when it
// cannot be read.
std::string ReadScenarioFile(const std::string& path);

}  // namespace kestrova::simserver
