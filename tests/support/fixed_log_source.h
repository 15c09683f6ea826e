// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "core/player_row.h"
#include "storage/player_log.h"

namespace kestrova::test {

// What the player log reads from the window: an interval, the log switch
// and the rows, as set here; counts the looks at the switch and the rows.
class FixedLogSource final : public PlayerLogSource {
 public:
  std::int32_t IntervalSeconds() const override { return interval; }
  bool LogEnabled() const override {
    ++looks;
    return enabled;
  }
  std::vector<PlayerRow> Rows() const override {
    ++looks;
    return rows;
  }

  std::int32_t interval = 30;
  bool enabled = true;
  std::vector<PlayerRow> rows{{" Alice", {"3", "1", "50"}}};
  mutable int looks = 0;
};

}  // namespace kestrova::test
