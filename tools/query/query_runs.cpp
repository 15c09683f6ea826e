// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/query/query_runs.h"

#include <chrono>
#include <exception>

#include "console/command_line.h"
#include "console/console_exchange.h"
#include "core/datagram_client.h"
#include "core/info_query.h"
#include "core/status_query.h"
#include "tools/query/console_transcript.h"
#include "tools/query/error_text.h"
#include "tools/query/fixed_endpoint.h"

namespace kestrova {

QuerySnapshot RunQueryCycle(const QueryArguments& arguments) {
  const FixedEndpoint endpoint(arguments.address, arguments.gamePortText, arguments.queryPortText);
  DatagramClient udp1;
  DatagramClient udp2;
  udp1.ReceiveTimeout = kToolReceiveTimeoutMs;
  udp2.ReceiveTimeout = kToolReceiveTimeoutMs;
  QuerySnapshot snapshot;
  DisplayModel& shown = snapshot.shown;

  bool answered = false;
  std::string received;
  const auto start = std::chrono::steady_clock::now();
  try {
    // QueryInfo's steps, with the time-out told apart from an answer.
    received = RequestInfo(udp1, endpoint);
    answered = !received.empty();
    if (ShowInfoReply(received, shown)) {
      const StatusOutcome status = QueryStatus(udp2, endpoint, shown);
      if (status.gap) {
        snapshot.statusIncomplete = true;
        snapshot.error = "incomplete status reply from " + AddressToText(arguments.address) + ":" +
                         arguments.queryPortText + ": " + status.gap->Text();
      }
    }
  } catch (const std::exception& failure) {
    snapshot.error = ToolErrorText(failure);
  }

  // Judged from the list rather than QueryInfo's result, so an info reply
  // that breaks off inside its key loop still counts as valid.
  snapshot.valid = IsInfoReply(shown.InfoList());
  snapshot.answered = answered;
  snapshot.infoReply = std::move(received);
  snapshot.durationSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return snapshot;
}

ConsoleRun RunConsoleCommand(const QueryArguments& arguments) {
  const FixedEndpoint endpoint(arguments.address, arguments.gamePortText, arguments.queryPortText);
  DatagramClient udp3;
  udp3.ReceiveTimeout = kToolReceiveTimeoutMs;
  ConsoleTranscript transcript;
  ConsoleExchange exchange(udp3, endpoint, transcript);

  ConsoleRun run;
  const bool awaitsReply = AwaitsReply(arguments.command);
  try {
    exchange.Run(arguments.command, awaitsReply);
  } catch (const std::exception& failure) {
    run.error = ToolErrorText(failure);
  }
  run.answered = !awaitsReply || exchange.LastReplyDatagrams() > 0;
  run.lines = transcript.Lines();
  run.mayBeIncomplete = transcript.MayBeIncomplete();
  return run;
}

}  // namespace kestrova
