// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/scenario_file.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tools/simserver/number_text.h"

namespace kestrova::simserver {

namespace {

void ReadLine(std::string_view line, Scenario& scenario) {
  std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) {
    throw std::invalid_argument("expected key=value, not '" + std::string(line) + "'");
  }
  std::string_view key = TrimBlanks(line.substr(0, equals));
  std::string_view value = line.substr(equals + 1);
  if (key == "player") {
    scenario.players.push_back(ParsePlayerEntry(value));
  } else if (key == "players") {
    scenario.generatedPlayers = ParseInteger(TrimBlanks(value), "players", 0, 1024);
  } else {
    ApplySetting(scenario.settings, key, value);
  }
}

}  // namespace

void ReadScenario(const std::string& text, Scenario& scenario) {
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (TrimBlanks(line).empty() || TrimBlanks(line).front() == '#') {
      continue;
    }
    try {
      ReadLine(line, scenario);
    } catch (const std::invalid_argument& error) {
      throw std::invalid_argument("line " + std::to_string(number) + ": " + error.what());
    }
  }
}

std::string ReadScenarioFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    throw std::runtime_error("cannot read the scenario file " + path);
  }
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

}  // namespace kestrova::simserver
