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

bool StopSignals::Raised() const { return stopRaised != 0; }

}  // namespace kestrova::simserver
