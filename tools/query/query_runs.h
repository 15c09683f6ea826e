// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/query/query_arguments.h"
#include "tools/query/query_snapshot.h"

namespace kestrova {

// Every receive of the tool waits at most this long, as the window's clients do.
inline constexpr int kToolReceiveTimeoutMs = 1000;

// One query cycle against the server the arguments name: the info query,
// then the status query after a valid info reply. A failure ends the cycle
// where it happens; its message (ToolErrorText) lands in the snapshot's
// error, and what was set before it stays. A server that does not answer is
// no failure; the snapshot's `answered` tells whether an info reply came. A
// status reply that lacks a part even after its retry sets
// `statusIncomplete` and `error` ("incomplete status reply from
// ADDRESS:QUERYPORT: part 2 of 3 missing"), and no player row.
QuerySnapshot RunQueryCycle(const QueryArguments& arguments);

// What one console command printed, or the failure that stopped it.
struct ConsoleRun {
  std::vector<std::string> lines;
  std::optional<std::string> error;
  // Whether a reply datagram came, or none was awaited ("killserver").
  bool answered = false;
  // The output shows that a datagram of it was lost (RenderReplyDatagrams).
  bool mayBeIncomplete = false;
};

// Sends the arguments' command to the game port as the console does (no
// wait for a command containing "killserver") and collects the rendered
// lines of the reply and of the datagrams that closely follow it.
ConsoleRun RunConsoleCommand(const QueryArguments& arguments);

}  // namespace kestrova
