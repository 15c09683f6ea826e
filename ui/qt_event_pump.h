// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrova {

// The window's event pump for the responsive waits of its datagram clients
// (an EventPump), on the thread that runs the Qt event loop: delivers
// posted events and handles pending window events (timer ticks that are
// due included) round after round until a round handles nothing; bounded,
// so a timer that is always due cannot keep it here.
void HandleAllPendingEvents();

}  // namespace kestrova
