// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>

#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// One second of play: a random player scores a frag, another one dies, and
// every ping moves a little, so a watching window shows movement.
void DriftScores(ServerState& state, std::mt19937& random);

}  // namespace kestrova::simserver
