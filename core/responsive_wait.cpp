#include "core/responsive_wait.h"

#include <atomic>
#include <thread>

#include "core/plain_wait.h"

namespace kestrova {

namespace {

std::atomic<AntiFreeze*> registered{nullptr};

// Static initialisation runs on the thread that started the process, which
// is the one that later runs the window's event loop.
const std::thread::id mainThread = std::this_thread::get_id();

// The registered settings while they are in use: active and asked from the
// main thread.
AntiFreeze* InUse() {
  AntiFreeze* freeze = registered.load();
  return freeze != nullptr && freeze->Active && OnMainThread() ? freeze : nullptr;
}

}  // namespace

AntiFreeze::AntiFreeze(EventPump& pump, PlainWait plainWait)
    : pump_(pump), plainWait_(plainWait ? std::move(plainWait) : PlainWait(PlainWaitForData)) {
  registered.store(this);
}

AntiFreeze::~AntiFreeze() {
  AntiFreeze* self = this;
  registered.compare_exchange_strong(self, nullptr);
}

AntiFreeze* AntiFreeze::Registered() { return registered.load(); }

bool OnMainThread() { return std::this_thread::get_id() == mainThread; }

bool WaitForData(int socket, int timeoutMs) {
  // The wait and the slice length are taken once: handlers run by a pump
  // may change or even destroy the settings before the wait is over.
  AntiFreeze* freeze = registered.load();
  const AntiFreeze::PlainWait plainWait = freeze != nullptr ? freeze->plainWait_ : PlainWaitForData;
  const int idle = InUse() != nullptr ? freeze->IdleTimeOut : 0;
  const auto slice = [&plainWait, socket](int ms) {
    const bool ready = plainWait(socket, ms);
    PumpEvents(!ready);
    return ready;
  };

  if (idle <= 0) {
    return slice(timeoutMs);  // not in use, or no slice length to cut by
  }
  if (timeoutMs == -2) {
    while (!slice(idle)) {
    }
    return true;
  }
  // n slices with n * idle >= timeoutMs: the first takes the remainder, so
  // that every later one lasts exactly idle.
  int remaining = timeoutMs;
  int next = remaining > idle ? remaining - (remaining - 1) / idle * idle : remaining;
  for (;;) {
    if (slice(next)) {
      return true;
    }
    remaining -= next;
    if (remaining <= 0) {
      return false;
    }
    next = idle;
  }
}

void PumpEvents(bool sliceWasEmpty) {
  AntiFreeze* freeze = InUse();
  if (freeze == nullptr || !(sliceWasEmpty || !freeze->OnlyWhenIdle)) {
    return;
  }
  if (freeze->ApplicationHasPriority) {
    freeze->pump_.HandleAllPending();
  } else {
    freeze->pump_.HandleOnePending();
  }
}

}  // namespace kestrova
