#pragma once

#include "core/responsive_wait.h"

namespace kestrova {

// The window's event queue for the responsive waits of the datagram
// clients. Must be used on the thread that runs the Qt event loop.
class QtEventPump final : public EventPump {
 public:
  QtEventPump() = default;

  // Delivers posted events and handles pending window events (timer ticks
  // that are due included) round after round until a round handles
  // nothing; bounded, so a timer that is always due cannot keep it here.
  void HandleAllPending() override;
};

}  // namespace kestrova
