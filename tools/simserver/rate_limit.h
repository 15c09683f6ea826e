// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace kestrova::simserver {

// A request budget per sender address, as game servers keep against
// floods: `burst` requests at once, refilled at `perSecond`. Keyed by the
// address alone, so every source port of one sender draws on one budget.
class RateLimit final {
 public:
  using Clock = std::chrono::steady_clock;

  explicit RateLimit(double burst = 10, double perSecond = 1) : burst_(burst), perSecond_(perSecond) {}

  // Whether a request from `address` at `now` is within its budget; a
  // request that is takes one from it.
  bool Allow(std::uint32_t address, Clock::time_point now);
  // Every address gets its full budget again.
  void Refill() { buckets_.clear(); }

 private:
  struct Bucket {
    double tokens = 0;
    Clock::time_point updated;
  };
  double burst_;
  double perSecond_;
  std::unordered_map<std::uint32_t, Bucket> buckets_;
};

// How many requests of each kind came in and how many of them the budget
// left unanswered, indexed like Channel: info, status, rcon.
struct RequestTally final {
  std::array<long, 3> received{};
  std::array<long, 3> limited{};

  void Count(int channel, bool wasLimited) {
    ++received[static_cast<std::size_t>(channel)];
    limited[static_cast<std::size_t>(channel)] += wasLimited ? 1 : 0;
  }
  // "info RECEIVED LIMITED rcon RECEIVED LIMITED status RECEIVED".
  std::string Text() const;
};

}  // namespace kestrova::simserver
