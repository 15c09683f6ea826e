#pragma once

#include <functional>

namespace kestrova {

// What the waiting code needs of the window toolkit's event queue.
class EventPump {
 public:
  virtual ~EventPump() = default;
  // Handles pending events one after another until the queue is empty.
  virtual void HandleAllPending() = 0;
  // Handles one pending event if there is one.
  virtual void HandleOnePending() = 0;
};

// Settings that make every readiness wait of a datagram client run in
// slices and, after a slice that brought no data, let the window handle its
// pending events. Creating one registers it for the process (replacing any
// earlier one); destroying it clears the registration.
class AntiFreeze final {
 public:
  using PlainWait = std::function<bool(int socket, int timeoutMs)>;

  // `plainWait` is the platform wait of one slice; tests pass a recorder.
  explicit AntiFreeze(EventPump& pump, PlainWait plainWait = nullptr);
  ~AntiFreeze();
  AntiFreeze(const AntiFreeze&) = delete;
  AntiFreeze& operator=(const AntiFreeze&) = delete;

  bool Active = true;
  int IdleTimeOut = 250;
  bool OnlyWhenIdle = true;
  bool ApplicationHasPriority = true;

  static AntiFreeze* Registered();

 private:
  friend bool WaitForData(int socket, int timeoutMs);
  friend void PumpEvents(bool sliceWasEmpty);

  EventPump& pump_;
  PlainWait plainWait_;
};

// Whether the calling thread is the one that runs the window's event loop
// (the thread that started the process).
bool OnMainThread();

// The readiness wait of every receive: a plain wait, or, while the
// registered AntiFreeze is in use (registered, active, main thread), slices
// of IdleTimeOut with PumpEvents after each.
bool WaitForData(int socket, int timeoutMs);

// Handles pending window events as the registered AntiFreeze says, after a
// slice that ended with (`sliceWasEmpty` false) or without data.
void PumpEvents(bool sliceWasEmpty);

}  // namespace kestrova
