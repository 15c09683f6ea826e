// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/reply_queue.h"

namespace kestrova::simserver {

std::vector<TimedReply> ReplyQueue::TakeDue(Clock::time_point now) {
  std::vector<TimedReply> due;
  auto end = pending_.upper_bound(now);
  for (auto entry = pending_.begin(); entry != end; ++entry) {
    due.push_back(std::move(entry->second));
  }
  pending_.erase(pending_.begin(), end);
  return due;
}

std::optional<ReplyQueue::Clock::time_point> ReplyQueue::NextDue() const {
  if (pending_.empty()) {
    return std::nullopt;
  }
  return pending_.begin()->first;
}

}  // namespace kestrova::simserver
