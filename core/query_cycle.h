// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

#include "core/datagram_client.h"
#include "core/display_model.h"
#include "core/endpoint_source.h"
#include "core/local_time.h"
#include "core/request_allowance.h"

namespace kestrova {

// The controls a cycle switches besides what the queries write.
class CycleControls {
 public:
  virtual ~CycleControls() = default;
  // Starts the 500 ms timer; a running timer is not restarted.
  virtual void EnableTimer() = 0;
  virtual void HideStartButton() = 0;
  // Label15, the time of the last cycle that ended without failure.
  virtual void SetUpdateTime(const std::string& text) = 0;
};

// What one cycle did, for whoever looks after it.
struct CycleOutcome {
  // The info request was left out to keep within the server's request
  // allowance; the labels, the hint and the info list keep the last reply.
  bool infoSkipped = false;
  // The info request was sent, and a datagram came back for it within the
  // receive time-out.
  bool infoSent = false;
  bool infoAnswered = false;
  // The status query ran: after a valid info reply, or on a skipped tick
  // when the last info reply that came was valid.
  bool statusQueried = false;
  // A datagram came back to the status request (or its retry).
  bool statusAnswered = false;
  // The status reply lacked a part even after its retry: the player list
  // and its labels were not updated ("status not updated").
  bool statusIncomplete = false;
  // The cycle got to its end, the update time and the log step included,
  // without a failure.
  bool completed = false;
};

// One query cycle, run for the START click and for every timer tick: the
// info query, the status query after a valid info reply, the update time,
// then the optional log step. Every failure is dropped without a message.
//
// With a pacing set, a tick may leave the info query out (InfoPacing
// decides); it then runs the status query when the last info reply that
// came was valid (an info request left unanswered since changes nothing),
// sets the update time and runs the log step as always.
class QueryCycle final {
 public:
  struct Parts {
    DatagramClient& udp1;
    DatagramClient& udp2;
    const EndpointSource& endpoint;
    DisplayModel& shown;
    CycleControls& controls;
    const Clock& clock;
    TimeFormat timeFormat;
  };

  explicit QueryCycle(Parts parts);

  // Build B's log step, run last inside the failure guard.
  void SetLogStep(std::function<void()> logStep);
  // Runs after every cycle, outside the failure guard, with what the cycle
  // did. Ignored calls run nothing.
  void SetCycleEnd(std::function<void(const CycleOutcome&)> cycleEnd);

  // Paces the info requests for the server's allowance; nullptr (the
  // start) sends one on every cycle. Not owned.
  void SetPacing(InfoPacing* pacing) { pacing_ = pacing; }

  // Runs one cycle. A call made while a cycle is running (a tick handled
  // while a reply is awaited) is ignored, so cycles never nest.
  void Run();

  bool Running() const { return running_; }
  // How many calls came while a cycle was running and were ignored.
  int IgnoredRuns() const { return ignoredRuns_; }
  // The most cycles that ever ran inside one another (1 once one ran).
  int DeepestNesting() const { return deepestNesting_; }

  // What the last cycle that ran did (ignored calls leave it alone); all
  // false before the first.
  const CycleOutcome& LastOutcome() const { return last_; }
  // Whether the last cycle left the info request out for the allowance.
  bool InfoSkipped() const { return last_.infoSkipped; }

 private:
  void RunSteps(CycleOutcome& outcome);
  // Sends the info request and shows its reply; whether it was valid.
  bool RunInfoQuery(CycleOutcome& outcome);

  Parts parts_;
  std::function<void()> logStep_;
  std::function<void(const CycleOutcome&)> cycleEnd_;
  InfoPacing* pacing_ = nullptr;
  // Whether the last info reply that came was valid; a time-out leaves it.
  bool lastInfoValid_ = false;
  CycleOutcome last_;
  bool running_ = false;
  int ignoredRuns_ = 0;
  int nesting_ = 0;
  int deepestNesting_ = 0;
};

}  // namespace kestrova
