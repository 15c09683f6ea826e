// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reply_gathering.h"

#include <algorithm>

namespace kestrova {

ReplyBudget::ReplyBudget(int budgetMs) : start_(Clock::now()), budgetMs_(budgetMs) {}

int ReplyBudget::LeftMs(int capMs) const {
  if (budgetMs_ < 0) {
    return capMs;
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
  const int left = static_cast<int>(std::max<long long>(0, budgetMs_ - elapsed));
  return capMs < 0 ? left : std::min(left, capMs);
}

std::optional<std::string> NextDatagramWithin(DatagramClient& client, int withinMs) {
  if (withinMs == 0) {
    return client.ReceiveQuietly(0);
  }
  const ReplyBudget budget(withinMs);
  // A first look, which handles the window's events at once when nothing
  // is queued: the wait that brought the datagram before this one may have
  // taken a whole slice without handling any.
  if (std::optional<std::string> datagram = client.ReceiveWithin(0)) {
    return datagram;
  }
  for (;;) {
    const int slice = budget.LeftMs(kGatheringSliceMs);
    if (slice == 0) {
      // The events handled in the last slice may have taken the rest of
      // the time while the datagram came.
      return client.ReceiveQuietly(0);
    }
    if (std::optional<std::string> datagram = client.ReceiveWithin(slice)) {
      return datagram;
    }
  }
}

}  // namespace kestrova
