// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/responsive_wait.h"

namespace kestrova {

AntiFreeze::AntiFreeze(EventPump pump, PlainWait plainWait)
    : pump_(std::move(pump)), plainWait_(std::move(plainWait)), eventThread_(std::this_thread::get_id()) {}

bool AntiFreeze::WaitForData(int socket, int timeoutMs) const {
  if (std::this_thread::get_id() != eventThread_) {
    return plainWait_(socket, timeoutMs);
  }
  const auto slice = [this, socket](int ms) {
    const bool ready = plainWait_(socket, ms);
    if (!ready) {
      pump_();
    }
    return ready;
  };
  if (timeoutMs == -2) {
    while (!slice(kSliceMs)) {
    }
    return true;
  }
  // n slices with n * kSliceMs >= timeoutMs: the first takes the remainder.
  int remaining = timeoutMs;
  int next = remaining > kSliceMs ? remaining - (remaining - 1) / kSliceMs * kSliceMs : remaining;
  for (;;) {
    if (slice(next)) {
      return true;
    }
    remaining -= next;
    if (remaining <= 0) {
      return false;
    }
    next = kSliceMs;
  }
}

}  // namespace kestrova
