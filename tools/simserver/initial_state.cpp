// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/initial_state.h"

#include <algorithm>
#include <stdexcept>

#include "tools/simserver/generated_players.h"
#include "tools/simserver/scenario_file.h"

namespace kestrova::simserver {

ServerState InitialState(const ServerOptions& options, std::mt19937& random) {
  Scenario scenario;
  if (!options.scenarioPath.empty()) {
    try {
      ReadScenario(ReadScenarioFile(options.scenarioPath), scenario);
    } catch (const std::invalid_argument& error) {
      throw std::invalid_argument("scenario " + options.scenarioPath + ", " + error.what());
    }
  }
  ServerState state;
  state.settings = scenario.settings;
  for (const auto& [key, value] : options.settings) {
    ApplySetting(state.settings, key, value);
  }
  std::vector<Player> players = std::move(scenario.players);
  for (Player& player : GeneratedPlayers(options.generatedPlayers.value_or(scenario.generatedPlayers), random)) {
    players.push_back(std::move(player));
  }
  state.settings.maxClients = std::max(state.settings.maxClients, static_cast<int>(players.size()));
  for (Player& player : players) {
    state.AddPlayer(std::move(player));
  }
  return state;
}

}  // namespace kestrova::simserver
