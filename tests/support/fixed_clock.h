// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "core/local_time.h"

namespace kestrova::test {

// A clock that tells the times it was given in turn, the last one again
// once they run out (a single time: always that one), and counts its
// readings.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalTime time) : times_{time} {}
  explicit FixedClock(std::vector<LocalTime> times) : times_(std::move(times)) {}
  LocalTime Now() const override { return times_[std::min(readings++, times_.size() - 1)]; }

  mutable std::size_t readings = 0;

 private:
  std::vector<LocalTime> times_;
};

}  // namespace kestrova::test
