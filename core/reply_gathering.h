// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "core/datagram_client.h"

namespace kestrova {

// The time one reply may take to come in whole, counted from the start of
// its first wait: a reply cut into several datagrams is gathered only as
// long as this lasts.
class ReplyBudget final {
 public:
  // `budgetMs` from now; a negative budget (a client without a receive
  // limit) never runs out.
  explicit ReplyBudget(int budgetMs);

  // Milliseconds left, at most `capMs` (a cap of -2: none); 0 once spent.
  // Without a limit: `capMs` itself.
  int LeftMs(int capMs = -2) const;

 private:
  using Clock = std::chrono::steady_clock;
  Clock::time_point start_;
  int budgetMs_;
};

// The longest a wait for a further datagram goes without letting the
// window handle its events.
inline constexpr int kGatheringSliceMs = 50;

// The next datagram on `client` if one comes within `withinMs` (-2: no
// limit), else std::nullopt. Every wait for a further datagram of a reply,
// console output and status parts alike, goes through here. It looks at
// the queue, then waits in slices of at most kGatheringSliceMs, all through
// the client's wait, so the window handles its pending events at once and after
// every slice that brought nothing;
// `withinMs` counts from the call, the time those events take included,
// and once it is over the queue is looked at once more. A `withinMs` of 0
// only looks at the queue and handles no events. Throws like
// DatagramClient::ReceiveText.
std::optional<std::string> NextDatagramWithin(DatagramClient& client, int withinMs);

}  // namespace kestrova
