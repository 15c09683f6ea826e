// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/rate_limit.h"

#include <algorithm>

namespace kestrova::simserver {

bool RateLimit::Allow(std::uint32_t address, Clock::time_point now) {
  auto [entry, added] = buckets_.try_emplace(address, Bucket{burst_, now});
  Bucket& bucket = entry->second;
  if (!added) {
    std::chrono::duration<double> elapsed = now - bucket.updated;
    bucket.tokens = std::min(burst_, bucket.tokens + elapsed.count() * perSecond_);
    bucket.updated = now;
  }
  if (bucket.tokens < 1) {
    return false;
  }
  bucket.tokens -= 1;
  return true;
}

std::string RequestTally::Text() const {
  return "info " + std::to_string(received[0]) + " " + std::to_string(limited[0]) + " rcon " +
         std::to_string(received[2]) + " " + std::to_string(limited[2]) + " status " + std::to_string(received[1]);
}

}  // namespace kestrova::simserver
