// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <signal.h>

namespace kestrova::simserver {

// SIGTERM and SIGINT as a request to stop. While an object lives they are
// blocked everywhere except inside the wait that passes WaitMask() to
// ppoll, so a stop can never slip in between a check and the wait.
class StopSignals final {
 public:
  StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Whether a stop signal has arrived, also one still pending because the
  // wait never had to let it in.
  bool Raised() const;
  // The signal mask to wait with: the one in force before, which lets
  // the stop signals in.
  const sigset_t& WaitMask() const { return waitMask_; }

 private:
  sigset_t waitMask_{};
};

}  // namespace kestrova::simserver
