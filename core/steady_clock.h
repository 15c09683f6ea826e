// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

namespace kestrova {

// A clock that only runs forward, for spans: the request allowance and its
// pacing, a server's silence, how long a query cycle took. The window reads
// the one it is given; tests pass one they move by hand.
class SteadyClock {
 public:
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~SteadyClock() = default;
  virtual TimePoint Now() const = 0;
};

// The system's steady clock.
inline const SteadyClock& SystemSteadyClock() {
  struct System final : SteadyClock {
    TimePoint Now() const override { return std::chrono::steady_clock::now(); }
  };
  static const System clock;
  return clock;
}

}  // namespace kestrova
