// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "console/console_exchange.h"
#include "console/console_output.h"

namespace kestrova {

// The command line (Edit4) and the prefix field (Edit5) as the console logic
// sees them.
class CommandLineFields {
 public:
  virtual ~CommandLineFields() = default;
  // The whole text of the command line.
  virtual std::string CommandText() const = 0;
  // Replaces the command line's text and puts the caret after its end,
  // nothing selected.
  virtual void SetCommandText(const std::string& text) = 0;
  // The text of the prefix field, its placeholder included.
  virtual std::string PrefixText() const = 0;
};

// The pre-fill rule, for the command line getting the focus or a click and
// for the end of every command: the command line holds the prefix, or
// nothing while the prefix field shows its placeholder.
void PrefillCommandLine(CommandLineFields& fields);

// One Enter press in the command line. "clear" empties the output list and
// sends nothing; any other text is run through `exchange`, awaiting a reply
// unless it contains "killserver". Afterwards the command line is
// pre-filled (the prefix field is read then, after the wait).
//
// Returns false, touching nothing, when the exchange is still waiting for
// an earlier command's reply (the Enter came from inside that wait).
// Throws what ConsoleExchange::Run throws; the command line keeps the
// command then and the output list is unchanged.
bool EnterCommand(CommandLineFields& fields, ConsoleExchange& exchange, ConsoleOutput& output);

}  // namespace kestrova
