// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>

#include "console/console_exchange.h"

namespace kestrova {

struct StockMap {
  std::string itemText;    // as the map group shows it, "mohdm1 - Southern France "
  std::string identifier;  // as the command carries it, "dm/mohdm1"
};

// The seven maps of the map group, in item order.
const std::array<StockMap, 7>& StockMaps();

// The Yes/No question asked before a kick or map change.
class Confirmation {
 public:
  virtual ~Confirmation() = default;
  // True only for the answer Yes.
  virtual bool Confirm(const std::string& message) = 0;
};

// "Kick \"NAME\"?" and "Change map to \"ID\"?".
std::string KickQuestion(const std::string& playerName);
std::string MapQuestion(const std::string& mapIdentifier);

// The command texts (the exchange puts the header in front): the prefix
// field's text unchanged, then " kick " or " map " and the argument.
std::string KickCommand(const std::string& prefixFieldText, const std::string& playerName);
std::string MapCommand(const std::string& prefixFieldText, const std::string& mapIdentifier);

// Asks, and on Yes kicks the player whose caption the dialog showed: the
// caption goes byte for byte into the question and the command. The reply
// is always awaited and shown like a console reply. Returns whether the
// command was sent; asks nothing and returns false while the exchange is
// waiting for another command's reply. Throws what ConsoleExchange::Run
// throws.
bool KickPlayer(const std::string& caption, const std::string& prefixFieldText, Confirmation& confirmation,
                ConsoleExchange& exchange);

// Asks, and on Yes changes to the stock map at `index` (an index outside
// the table does nothing); otherwise as KickPlayer.
bool ChangeMap(int index, const std::string& prefixFieldText, Confirmation& confirmation, ConsoleExchange& exchange);

}  // namespace kestrova
