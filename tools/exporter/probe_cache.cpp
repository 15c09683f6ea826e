// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exporter/probe_cache.h"

#include <utility>

namespace kestrova::exporter {

ProbeCache::ProbeCache(Query query, Clock::duration lifetime, std::function<Clock::time_point()> now)
    : query_(std::move(query)), lifetime_(lifetime), now_(std::move(now)) {}

void ProbeCache::DropExpired(Clock::time_point now) {
  std::erase_if(entries_,
                [&](const auto& entry) { return entry.second.ended && now - *entry.second.ended >= lifetime_; });
}

ProbeCache::Answer ProbeCache::Probe(const ProbeTarget& target) {
  std::promise<Snapshot> promise;
  std::optional<std::shared_future<Snapshot>> known;
  bool kept = false;
  {
    const std::lock_guard lock(mutex_);
    DropExpired(now_());
    if (const auto entry = entries_.find(target); entry != entries_.end()) {
      known = entry->second.snapshot;
    } else if (entries_.size() < kMostTargets) {
      entries_.emplace(target, Entry{promise.get_future().share(), std::nullopt});
      kept = true;
    }
  }
  if (known) {
    // A recent snapshot, or one that another probe's cycle is making.
    return {known->get(), true};
  }

  Snapshot snapshot;
  try {
    snapshot = std::make_shared<const QuerySnapshot>(query_(target));
  } catch (...) {
    if (kept) {
      promise.set_exception(std::current_exception());
      const std::lock_guard lock(mutex_);
      entries_.erase(target);
    }
    throw;
  }
  if (kept) {
    promise.set_value(snapshot);
    const std::lock_guard lock(mutex_);
    entries_.at(target).ended = now_();
    DropExpired(now_());
  }
  return {snapshot, false};
}

std::size_t ProbeCache::Size() const {
  const std::lock_guard lock(mutex_);
  return entries_.size();
}

}  // namespace kestrova::exporter
