// SPDX-License-Identifier: GPL-3.0-or-later
// The simulated server's scenario files.
#include <stdexcept>

#include "fuzz_support.h"
#include "simserver_snapshot.h"
#include "tools/simserver/scenario_file.h"

namespace {

using namespace kestrova;
using namespace kestrova::simserver;

std::string Snapshot(const Scenario& scenario) {
  std::string text = fuzz::Snapshot(scenario.settings) + '\1' + std::to_string(scenario.generatedPlayers);
  for (const Player& player : scenario.players) {
    text += '\2' + fuzz::Snapshot(player);
  }
  return text;
}

struct Outcome {
  Scenario scenario;
  std::string failure;
};

Outcome Read(const std::string& text) {
  Outcome outcome;
  try {
    ReadScenario(text, outcome.scenario);
  } catch (const std::invalid_argument& error) {
    outcome.failure = error.what();
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(fuzz::InputText(data, size));
  const Outcome outcome = Read(text);

  if (!outcome.failure.empty()) {
    // "line N: reason", N one of the file's lines.
    FUZZ_CHECK(outcome.failure.starts_with("line "));
    const std::size_t number = std::stoul(outcome.failure.substr(5));
    FUZZ_CHECK(number >= 1 && number <= fuzz::CountOf(text, '\n') + 1);
  }
  const Scenario& scenario = outcome.scenario;
  FUZZ_CHECK(scenario.generatedPlayers >= 0 && scenario.generatedPlayers <= 1024);
  FUZZ_CHECK(scenario.settings.maxClients >= 1 && scenario.settings.maxClients <= 1024);
  FUZZ_CHECK(scenario.players.size() <= fuzz::CountOf(text, '\n') + 1);
  for (const Player& player : scenario.players) {
    FUZZ_CHECK(player.name.find('\\') == std::string::npos);
  }

  const Outcome again = Read(text);
  FUZZ_CHECK(again.failure == outcome.failure && Snapshot(again.scenario) == Snapshot(scenario));
  return 0;
}
