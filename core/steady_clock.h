#pragma once

#include <chrono>

namespace kestrova {

// A clock that only runs forward, for measuring spans such as a server's
// silence; tests pass one they move by hand.
class SteadyClock {
 public:
  virtual ~SteadyClock() = default;
  // The time since some fixed point of this run.
  virtual std::chrono::milliseconds Elapsed() const = 0;
};

class SystemSteadyClock final : public SteadyClock {
 public:
  std::chrono::milliseconds Elapsed() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
  }
};

}  // namespace kestrova
