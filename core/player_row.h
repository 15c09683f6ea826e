// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kestrova {

// One row of the player list: the joined player name (beginning with one
// blank) and the sub-items frags, deaths and ping, all texts copied from
// the reply byte for byte. A row cut short by a failure has fewer sub-items.
struct PlayerRow {
  std::string caption;
  std::vector<std::string> subItems;

  friend bool operator==(const PlayerRow&, const PlayerRow&) = default;
};

}  // namespace kestrova
