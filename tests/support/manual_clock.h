// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

#include "core/steady_clock.h"

namespace kestrova::test {

// A steady clock that moves only when the test says so.
class ManualClock final : public SteadyClock {
 public:
  TimePoint Now() const override { return now_; }
  void Advance(std::chrono::steady_clock::duration span) { now_ += span; }

 private:
  TimePoint now_{std::chrono::hours(1)};
};

}  // namespace kestrova::test
