// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "tools/exporter/probe_target.h"
#include "tools/query/query_snapshot.h"

namespace kestrova::exporter {

// The answers of recent query cycles, one per target, so that several
// Prometheus servers or a short scrape interval do not spend the game
// server's request allowance: a probe of a target whose cycle ended less
// than `lifetime` ago gets that cycle's snapshot, and a probe of a target
// whose cycle is still running waits for it instead of starting another.
// Safe to use from many threads at once.
class ProbeCache final {
 public:
  using Clock = std::chrono::steady_clock;
  using Snapshot = std::shared_ptr<const QuerySnapshot>;
  // Runs one query cycle against a target; called without any lock held.
  using Query = std::function<QuerySnapshot(const ProbeTarget&)>;

  // The most targets kept at once. A further target is queried but not
  // kept, so no asker can make the exporter's memory grow without bound.
  static constexpr std::size_t kMostTargets = 4096;

  // A `lifetime` of zero keeps nothing once a cycle has ended. `now` tells
  // the time; tests pass a clock of their own.
  ProbeCache(Query query, Clock::duration lifetime, std::function<Clock::time_point()> now = &Clock::now);
  ProbeCache(const ProbeCache&) = delete;
  ProbeCache& operator=(const ProbeCache&) = delete;

  struct Answer {
    Snapshot snapshot;
    // Whether the snapshot came from a cycle that another probe started.
    bool shared = false;
  };

  // The snapshot of `target`: a recent one, the one being made, or a new
  // one. Rethrows what the query throws.
  Answer Probe(const ProbeTarget& target);

  // Targets kept now, cycles running included.
  std::size_t Size() const;

 private:
  struct Entry {
    std::shared_future<Snapshot> snapshot;
    // When its cycle ended; none while it runs.
    std::optional<Clock::time_point> ended;
  };

  // Drops the entries whose time is up. Called with the lock held.
  void DropExpired(Clock::time_point now);

  Query query_;
  Clock::duration lifetime_;
  std::function<Clock::time_point()> now_;
  mutable std::mutex mutex_;
  std::map<ProbeTarget, Entry> entries_;
};

}  // namespace kestrova::exporter
