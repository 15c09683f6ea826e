// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <string>

#include "core/display_model.h"
#include "core/query_cycle.h"
#include "core/server_events.h"

namespace kestrova {

// What the cycle that just ended told about the server, from what it did
// (`outcome`) and what it left on show (`shown`), stamped `at` and named
// `endpoint`, for telling what changed from one cycle to the next:
// - an answer on a port: a datagram came and its reply list holds tokens,
//   or the status reply lacked a part (the server answers, but with no
//   names);
// - the info values, when this cycle's info reply was valid: the labels as
//   it left them (one it lacked still shows what an earlier reply told);
// - the player names, in the reply's order, when the cycle completed
//   without a failure after a status reply came whole;
// - the info query left out, when a cycle that completed skipped it.
CycleResult RecordCycle(const CycleOutcome& outcome, const DisplayModel& shown, std::chrono::milliseconds at,
                        std::string endpoint);

}  // namespace kestrova
