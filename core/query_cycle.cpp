// SPDX-License-Identifier: GPL-3.0-or-later
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

void QueryCycle::SetCycleEnd(std::function<void(const CycleOutcome&)> cycleEnd) { cycleEnd_ = std::move(cycleEnd); }

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
  CycleOutcome outcome;
  try {
    RunSteps(outcome);
  } catch (const std::exception&) {
    // Every failure ends the cycle without a message; the next tick starts afresh.
  } catch (...) {
  }
  last_ = outcome;
  if (cycleEnd_) {
    cycleEnd_(outcome);
  }
}

void QueryCycle::RunSteps(CycleOutcome& outcome) {
  const NestingCount nesting(nesting_, deepestNesting_);
  parts_.controls.EnableTimer();
  parts_.controls.HideStartButton();
  outcome.infoSkipped = pacing_ != nullptr && !pacing_->SendInfoNow();
  const bool valid = outcome.infoSkipped ? lastInfoValid_ : RunInfoQuery(outcome);
  if (valid) {
    outcome.statusQueried = true;
    // QueryStatus's steps, with the answer noted before its reading can fail.
    const StatusReply reply = RequestStatus(parts_.udp2, parts_.endpoint);
    outcome.statusAnswered = reply.answered;
    outcome.statusIncomplete = reply.gap.has_value();
    if (!reply.gap) {
      ShowStatusReply(reply.text, parts_.shown);
    }
  }
  parts_.controls.SetUpdateTime(FormatLongTime(parts_.clock.Now(), parts_.timeFormat));
  if (logStep_) {
    logStep_();
  }
  outcome.completed = true;
}

bool QueryCycle::RunInfoQuery(CycleOutcome& outcome) {
  // Spent before the request goes out, so that a command sent while its
  // reply is awaited counts after it.
  if (pacing_ != nullptr) {
    pacing_->InfoSending();
  }
  const std::string reply = RequestInfo(parts_.udp1, parts_.endpoint);
  outcome.infoSent = true;
  outcome.infoAnswered = !reply.empty();
  if (pacing_ != nullptr && outcome.infoAnswered) {
    pacing_->InfoAnswered();
  } else if (pacing_ != nullptr) {
    pacing_->InfoUnanswered();
  }
  if (!outcome.infoAnswered) {
    // Shown all the same (the reply list empties), but it says nothing
    // about the server's settings: a skipped tick still asks for the
    // players when the last reply that came was valid.
    return ShowInfoReply(reply, parts_.shown);
  }
  lastInfoValid_ = false;
  lastInfoValid_ = ShowInfoReply(reply, parts_.shown);
  return lastInfoValid_;
}

}  // namespace kestrova
