// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/command_line.h"

#include "core/reply_text.h"

namespace kestrova {

std::string PrefilledCommandLine(const std::string& prefixFieldText) {
  if (Equals(prefixFieldText, kPrefixPlaceholder)) {
    return {};
  }
  return prefixFieldText;
}

bool IsClearCommand(const std::string& commandText) { return Equals(commandText, "clear"); }

bool AwaitsReply(const std::string& commandText) { return !Contains(commandText, "killserver"); }

const std::vector<std::string>& ConsoleHelpText() {
  static const std::vector<std::string> lines = {
      std::string(76, '*'),
      "This is server's remote console.",
      "It runs independently from \"START spy\"",
      "You can use some RCON commands in it.",
      "Type them in the line at the bottom and accept with Enter key.",
      "",
      "For example:",
      "RCON rcon-password cmdlist",
      "RCON rcon-password exec \"file.cfg\"",
      "RCON rcon-password map dm/mohdm1",
      "RCON rcon-password kick \"username\"",
      "RCON rcon-password kick all",
      "RCON rcon-password meminfo",
      "RCON rcon-password path",
      "RCON rcon-password say \"message\"",
      "RCON rcon-password serverinfo",
      "RCON rcon-password systeminfo",
      "RCON rcon-password status",
      "",
      "To clear console type:",
      "clear",
      std::string(76, '*'),
  };
  return lines;
}

}  // namespace kestrova
