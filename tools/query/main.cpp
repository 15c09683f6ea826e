// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-query: one query cycle or one console command against a game
// server, printed as plain lines or as JSON.

#include <langinfo.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "console/console_reply.h"
#include "core/reply_text.h"
#include "tools/query/json_report.h"
#include "tools/query/openmetrics_report.h"
#include "tools/query/plain_report.h"
#include "tools/query/query_arguments.h"
#include "tools/query/query_runs.h"

namespace {

constexpr std::string_view kProgram = "kestrova-query";

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kExitNoAnswer = 3;

// Reports carry the server's bytes unchanged, so they go out with fwrite
// rather than through any text conversion.
void Write(std::FILE* stream, std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

int Finish(const std::string& report, const std::optional<std::string>& error, bool answered,
           const std::string& silentEndpoint) {
  Write(stdout, report);
  if (error) {
    Write(stderr, std::string(kProgram) + ": " + *error + "\n");
    return kExitFailed;
  }
  if (!answered) {
    Write(stderr, std::string(kProgram) + ": no answer from " + silentEndpoint + "\n");
    return kExitNoAnswer;
  }
  return kExitDone;
}

// Whether the user's locale encodes its text in UTF-8.
bool Utf8Locale() { return std::setlocale(LC_CTYPE, "") != nullptr && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0; }

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);

  kestrova::QueryArguments parsed;
  try {
    parsed = kestrova::ParseQueryArguments(arguments, Utf8Locale());
  } catch (const kestrova::UsageError& error) {
    Write(stderr, std::string(kProgram) + ": " + error.what() + "\nTry '" + std::string(kProgram) + " --help'.\n");
    return kExitUsage;
  }

  const std::string address = kestrova::AddressToText(parsed.address);
  switch (parsed.mode) {
    case kestrova::QueryArguments::Mode::Help:
      Write(stdout, kestrova::UsageText(kProgram));
      return kExitDone;
    case kestrova::QueryArguments::Mode::Version:
      Write(stdout, kestrova::VersionText());
      return kExitDone;
    case kestrova::QueryArguments::Mode::Console: {
      const kestrova::ConsoleRun run = kestrova::RunConsoleCommand(parsed);
      const std::string report =
          parsed.json ? kestrova::ConsoleJson(run.lines, run.error) : kestrova::PlainConsoleReport(run.lines);
      if (run.mayBeIncomplete) {
        Write(stderr, std::string(kProgram) + ": " + kestrova::kIncompleteOutputText + "\n");
      }
      return Finish(report, run.error, run.answered, address + ":" + parsed.gamePortText);
    }
    case kestrova::QueryArguments::Mode::Query:
      break;
  }
  const kestrova::QuerySnapshot snapshot = kestrova::RunQueryCycle(parsed);
  const std::string endpoint = address + ":" + parsed.gamePortText;
  const std::string report = parsed.json          ? kestrova::QueryJson(snapshot)
                             : parsed.openMetrics ? kestrova::OpenMetricsReport(snapshot, {.server = endpoint})
                                                  : kestrova::PlainQueryReport(snapshot);
  if (snapshot.statusIncomplete) {
    // The server answered, but not with a whole list: no complete answer.
    Write(stdout, report);
    Write(stderr, std::string(kProgram) + ": " + *snapshot.error + "\n");
    return kExitNoAnswer;
  }
  return Finish(report, snapshot.error, snapshot.answered, endpoint);
}
