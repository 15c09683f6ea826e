#include "core/query_cycle.h"

#include <exception>
#include <utility>

#include "core/info_query.h"
#include "core/nesting_count.h"
#include "core/scoped_flag.h"
#include "core/status_query.h"

namespace kestrova {

QueryCycle::QueryCycle(Parts parts) : parts_(std::move(parts)) {}

void QueryCycle::SetLogStep(std::function<void()> logStep) { logStep_ = std::move(logStep); }

void QueryCycle::Run() {
  // A receive with a silent server handles the window's pending events, the
  // next timer tick among them; starting a cycle there would nest one level
  // deeper on every empty wait. The tick is dropped instead: the following
  // one comes 500 ms later.
  if (running_) {
    ++ignoredRuns_;
    return;
  }
  ScopedFlag mark(running_);
  try {
    RunSteps();
  } catch (const std::exception&) {
    // Every failure ends the cycle without a message; the next tick starts afresh.
  } catch (...) {
  }
}

void QueryCycle::RunSteps() {
  const NestingCount nesting(nesting_, deepestNesting_);
  parts_.controls.EnableTimer();
  parts_.controls.HideStartButton();
  if (QueryInfo(parts_.udp1, parts_.endpoint, parts_.display, parts_.display)) {
    QueryStatus(parts_.udp2, parts_.endpoint, parts_.display, parts_.display);
  }
  parts_.controls.SetUpdateTime(FormatLongTime(parts_.clock.Now(), parts_.timeFormat));
  if (logStep_) {
    logStep_();
  }
}

}  // namespace kestrova
