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

namespace {

bool IsValidInfoList(const TokenList& tokens) { return !tokens.empty() && Equals(tokens[0], "infoResponse"); }

}  // namespace

QuerySnapshot RunQueryCycle(const QueryArguments& arguments) {
  const FixedEndpoint endpoint(arguments.address, arguments.gamePortText, arguments.queryPortText);
  DatagramClient udp1;
  DatagramClient udp2;
  udp1.ReceiveTimeout = kToolReceiveTimeoutMs;
  udp2.ReceiveTimeout = kToolReceiveTimeoutMs;
  RecordingQueryDisplay display;

  bool answered = false;
  std::string received;
  const auto start = std::chrono::steady_clock::now();
  try {
    // QueryInfo's steps, with the time-out told apart from an answer.
    received = RequestInfo(udp1, endpoint);
    answered = !received.empty();
    if (ShowInfoReply(received, display, display)) {
      const StatusOutcome status = QueryStatus(udp2, endpoint, display, display);
      if (status.gap) {
        display.Snapshot().statusIncomplete = true;
        display.Snapshot().error = "incomplete status reply from " + AddressToText(arguments.address) + ":" +
                                   arguments.queryPortText + ": " + status.gap->Text();
      }
    }
  } catch (const std::exception& failure) {
    display.Snapshot().error = ToolErrorText(failure);
  }

  QuerySnapshot snapshot = std::move(display.Snapshot());
  // Judged from the list rather than QueryInfo's result, so an info reply
  // that breaks off inside its key loop still counts as valid.
  snapshot.valid = IsValidInfoList(snapshot.infoList);
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
