// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/command_entry.h"

#include "console/command_line.h"

namespace kestrova {

void PrefillCommandLine(CommandLineFields& fields) { fields.SetCommandText(PrefilledCommandLine(fields.PrefixText())); }

bool EnterCommand(CommandLineFields& fields, ConsoleExchange& exchange, ConsoleOutput& output) {
  const std::string command = fields.CommandText();
  if (IsClearCommand(command)) {
    output.Clear();
  } else if (!exchange.Run(command, AwaitsReply(command))) {
    return false;
  }
  PrefillCommandLine(fields);
  return true;
}

}  // namespace kestrova
