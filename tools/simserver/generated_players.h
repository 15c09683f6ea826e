// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <random>
#include <vector>

#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// `count` players with distinct names and plausible scores. The first few
// names cover what a client must cope with: names with blanks, the pair
// "alice" and "Bob" that sorts differently with and without case, and a
// name with a byte above 0x7F. Later names repeat the list with a number.
std::vector<Player> GeneratedPlayers(int count, std::mt19937& random);

}  // namespace kestrova::simserver
