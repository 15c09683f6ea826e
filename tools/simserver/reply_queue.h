// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tools/simserver/loopback_socket.h"

namespace kestrova::simserver {

// A reply datagram waiting for its time to be sent.
struct TimedReply final {
  LoopbackSocket* socket = nullptr;
  sockaddr_in to{};
  std::string bytes;
};

// Replies held back by a delay, so that a slow answer never blocks the
// others. Replies due at the same moment leave in the order they came.
class ReplyQueue final {
 public:
  using Clock = std::chrono::steady_clock;

  void Add(Clock::time_point due, TimedReply reply) { pending_.emplace(due, std::move(reply)); }

  // Takes out every reply due at or before `now`, earliest first.
  std::vector<TimedReply> TakeDue(Clock::time_point now);

  // When the earliest reply is due; nothing when the queue is empty.
  std::optional<Clock::time_point> NextDue() const;

 private:
  std::multimap<Clock::time_point, TimedReply> pending_;
};

}  // namespace kestrova::simserver
