#pragma once

#include <functional>

#include "core/datagram_client.h"
#include "core/endpoint_source.h"
#include "core/local_time.h"
#include "core/query_displays.h"

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

// One query cycle, run for the START click and for every timer tick: the
// info query, the status query after a valid info reply, the update time,
// then the optional log step. Every failure is dropped without a message.
class QueryCycle final {
 public:
  struct Parts {
    DatagramClient& udp1;
    DatagramClient& udp2;
    const EndpointSource& endpoint;
    QueryDisplay& display;
    CycleControls& controls;
    const Clock& clock;
    TimeFormat timeFormat;
  };

  explicit QueryCycle(Parts parts);

  // Build B's log step, run last inside the failure guard.
  void SetLogStep(std::function<void()> logStep);

  // Runs one cycle. A call made while a cycle is running (a tick handled
  // while a reply is awaited) is ignored, so cycles never nest.
  void Run();

  bool Running() const { return running_; }
  // How many calls came while a cycle was running and were ignored.
  int IgnoredRuns() const { return ignoredRuns_; }
  // The most cycles that ever ran inside one another (1 once one ran).
  int DeepestNesting() const { return deepestNesting_; }

 private:
  void RunSteps();

  Parts parts_;
  std::function<void()> logStep_;
  bool running_ = false;
  int ignoredRuns_ = 0;
  int nesting_ = 0;
  int deepestNesting_ = 0;
};

}  // namespace kestrova
