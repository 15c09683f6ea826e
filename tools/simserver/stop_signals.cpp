// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/stop_signals.h"

#include <csignal>

namespace kestrova::simserver {

namespace {

volatile std::sig_atomic_t stopRaised = 0;

void OnStopSignal(int) { stopRaised = 1; }

}  // namespace

StopSignals::StopSignals() {
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  sigprocmask(SIG_BLOCK, &stops, &waitMask_);
  sigdelset(&waitMask_, SIGTERM);
  sigdelset(&waitMask_, SIGINT);

  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

bool StopSignals::Raised() const {
  if (stopRaised != 0) {
    return true;
  }
  // ppoll lets a blocked signal in only when it has to wait: while a
  // source is always ready (standard input that never runs dry), a stop
  // signal stays pending for ever, so it is looked for here as well.
  sigset_t pending;
  sigemptyset(&pending);
  sigpending(&pending);
  return sigismember(&pending, SIGTERM) == 1 || sigismember(&pending, SIGINT) == 1;
}

}  // namespace kestrova::simserver
