// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/plain_wait.h"

#include <poll.h>

#include <cerrno>
#include <chrono>

namespace kestrova {

bool PlainWaitForData(int socket, int timeoutMs) {
  constexpr int kNoLimit = -2;
  if (timeoutMs < 0 && timeoutMs != kNoLimit) {
    return false;  // no such time-out: the wait fails, which counts as no data
  }
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int remaining = timeoutMs == kNoLimit ? -1 : timeoutMs;
  for (;;) {
    pollfd ready{socket, POLLIN, 0};
    const int result = ::poll(&ready, 1, remaining);
    if (result >= 0 || errno != EINTR) {
      return result == 1;
    }
    // A signal cut the wait short: wait out the rest.
    if (timeoutMs != kNoLimit) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      remaining = left > 0 ? static_cast<int>(left) : 0;
    }
  }
}

}  // namespace kestrova
