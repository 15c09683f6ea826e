// kestrova-query: one query cycle or one console command against a game
// server, printed as plain lines or as JSON.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/query/json_report.h"
#include "tools/query/plain_report.h"
#include "tools/query/query_arguments.h"
#include "tools/query/query_runs.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Reports carry the server's bytes unchanged, so they go out with fwrite
// rather than through any text conversion.
void Write(std::FILE* stream, std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stream);
  std::fflush(stream);
}

int Finish(const std::string& report, const std::optional<std::string>& error) {
  Write(stdout, report);
  if (error) {
    Write(stderr, *error + "\n");
    return kExitFailed;
  }
  return kExitDone;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view program = argc > 0 ? std::string_view(argv[0]) : "kestrova-query";
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);

  kestrova::QueryArguments parsed;
  try {
    parsed = kestrova::ParseQueryArguments(arguments);
  } catch (const kestrova::UsageError& error) {
    Write(stderr, std::string(program) + ": " + error.what() + "\n" + kestrova::UsageText(program));
    return kExitUsage;
  }

  switch (parsed.mode) {
    case kestrova::QueryArguments::Mode::Help:
      Write(stdout, kestrova::UsageText(program));
      return kExitDone;
    case kestrova::QueryArguments::Mode::Console: {
      const kestrova::ConsoleRun run = kestrova::RunConsoleCommand(parsed);
      const std::string report =
          parsed.json ? kestrova::ConsoleJson(run.lines, run.error) : kestrova::PlainConsoleReport(run.lines);
      return Finish(report, run.error);
    }
    case kestrova::QueryArguments::Mode::Query:
      break;
  }
  const kestrova::QuerySnapshot snapshot = kestrova::RunQueryCycle(parsed);
  const std::string report = parsed.json ? kestrova::QueryJson(snapshot) : kestrova::PlainQueryReport(snapshot);
  return Finish(report, snapshot.error);
}
