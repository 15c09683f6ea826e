// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/score_drift.h"

#include <algorithm>

namespace kestrova::simserver {

void DriftScores(ServerState& state, std::mt19937& random) {
  auto& players = state.Players();
  if (players.empty()) {
    return;
  }
  std::uniform_int_distribution<std::size_t> pick(0, players.size() - 1);
  std::size_t killer = pick(random);
  ++players[killer].frags;
  std::size_t victim = pick(random);
  if (victim != killer || players.size() == 1) {
    ++players[victim].deaths;
  }
  std::uniform_int_distribution<int> jitter(-6, 6);
  for (Player& player : players) {
    player.ping = std::clamp(player.ping + jitter(random), 5, 999);
  }
}

}  // namespace kestrova::simserver
