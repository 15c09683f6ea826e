// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <thread>

#include "core/plain_wait.h"

namespace kestrova {

// Handles the window toolkit's pending events one after another until its
// queue is empty.
using EventPump = std::function<void()>;

// How the window's datagram clients wait for a reply (DatagramClient's
// WaitsWith): in slices of kSliceMs, and after every slice that brought no
// data the window handles all its pending events, its timer ticks among
// them, so it stays responsive while a reply is awaited; those event
// handlers run inside the wait. Only on the thread that made it, the one
// that runs the window's event loop: on any other thread a wait is one
// plain wait and handles no events.
class AntiFreeze final {
 public:
  using PlainWait = std::function<bool(int socket, int timeoutMs)>;

  static constexpr int kSliceMs = 50;

  // `plainWait` is the platform wait of one slice; tests pass a recorder.
  explicit AntiFreeze(EventPump pump, PlainWait plainWait = PlainWaitForData);
  AntiFreeze(const AntiFreeze&) = delete;
  AntiFreeze& operator=(const AntiFreeze&) = delete;

  // Whether `socket` becomes readable within `timeoutMs` milliseconds (-2:
  // no limit), waiting as said above. A wait longer than one slice starts
  // with the remainder, so that every later slice lasts kSliceMs.
  bool WaitForData(int socket, int timeoutMs) const;

 private:
  EventPump pump_;
  PlainWait plainWait_;
  std::thread::id eventThread_;
};

}  // namespace kestrova
