// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated server's control lines, one input line after another on
// one server, as a test or a person types them.
#include "fuzz_support.h"
#include "simserver_snapshot.h"
#include "tools/simserver/control_lines.h"

namespace {

using namespace kestrova;
using namespace kestrova::simserver;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ServerState state;
  Misbehaviour faults;
  ReplyStyle style;
  bool frozen = false;
  const RequestTally tally;
  ControlLines lines(state, faults, style, frozen, tally);

  for (const std::string& line : fuzz::SplitInput(fuzz::InputText(data, size), "\n")) {
    const std::string before = fuzz::Snapshot(state, faults, style, frozen);
    const ControlOutcome outcome = lines.Run(line);
    // The answer is one line: "ok" (with the tally after "requests"), or
    // "error: " and the reason, after which nothing has changed.
    FUZZ_CHECK(outcome.answer.find('\n') == std::string::npos);
    if (outcome.answer != "ok" && !outcome.answer.starts_with("ok ")) {
      FUZZ_CHECK(outcome.answer.starts_with("error: ") && !outcome.quit);
      FUZZ_CHECK(fuzz::Snapshot(state, faults, style, frozen) == before);
    }
    FUZZ_CHECK(static_cast<int>(state.Players().size()) <= state.settings.maxClients);
    FUZZ_CHECK(state.settings.maxClients >= 1 && state.settings.maxClients <= 1024);
    for (const Player& player : state.Players()) {
      FUZZ_CHECK(player.name.find('\\') == std::string::npos);
    }
    if (outcome.quit) {
      break;
    }
  }
  return 0;
}
