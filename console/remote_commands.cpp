// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/remote_commands.h"

namespace kestrova {

const std::array<StockMap, 7>& StockMaps() {
  static const std::array<StockMap, 7> maps = {{
      {"mohdm1 - Southern France ", "dm/mohdm1"},
      {"mohdm2 - Destroyed Village ", "dm/mohdm2"},
      {"mohdm3 - Remagen ", "dm/mohdm3"},
      {"mohdm4 - The Crossroads ", "dm/mohdm4"},
      {"mohdm5 - Snowy Park ", "dm/mohdm5"},
      {"mohdm6 - Stalingrad ", "dm/mohdm6"},
      {"mohdm7 - Algiers ", "dm/mohdm7"},
  }};
  return maps;
}

std::string KickQuestion(const std::string& playerName) { return "Kick \"" + playerName + "\"?"; }

std::string MapQuestion(const std::string& mapIdentifier) { return "Change map to \"" + mapIdentifier + "\"?"; }

// Unlike the pre-fill rule, the prefix goes in as it stands, placeholder
// text included.
std::string KickCommand(const std::string& prefixFieldText, const std::string& playerName) {
  return prefixFieldText + " kick " + playerName;
}

std::string MapCommand(const std::string& prefixFieldText, const std::string& mapIdentifier) {
  return prefixFieldText + " map " + mapIdentifier;
}

namespace {

bool AskAndRun(const std::string& question, const std::string& command, Confirmation& confirmation,
               ConsoleExchange& exchange) {
  // A command asked for from inside another one's wait would be ignored
  // after the Yes; better not to ask at all.
  if (exchange.Busy() || !confirmation.Confirm(question)) {
    return false;
  }
  return exchange.Run(command, true);
}

}  // namespace

bool KickPlayer(const std::string& caption, const std::string& prefixFieldText, Confirmation& confirmation,
                ConsoleExchange& exchange) {
  return AskAndRun(KickQuestion(caption), KickCommand(prefixFieldText, caption), confirmation, exchange);
}

bool ChangeMap(int index, const std::string& prefixFieldText, Confirmation& confirmation, ConsoleExchange& exchange) {
  const auto& maps = StockMaps();
  if (index < 0 || index >= static_cast<int>(maps.size())) {
    return false;
  }
  const std::string& identifier = maps[static_cast<std::size_t>(index)].identifier;
  return AskAndRun(MapQuestion(identifier), MapCommand(prefixFieldText, identifier), confirmation, exchange);
}

}  // namespace kestrova
