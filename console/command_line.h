// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The prefix field's initial text; while it stands there the prefix is empty.
inline constexpr std::string_view kPrefixPlaceholder = "Always add text from here to commands";
// The command line's initial text.
inline constexpr std::string_view kCommandLinePlaceholder = "Type console commands here";

// What the command line holds after it is entered or clicked, or a command
// has run: the prefix, or nothing while the prefix field shows its placeholder.
std::string PrefilledCommandLine(const std::string& prefixFieldText);

// Only the exact text "clear" empties the console list; nothing is sent.
bool IsClearCommand(const std::string& commandText);

// A command containing "killserver" is sent without waiting for a reply.
bool AwaitsReply(const std::string& commandText);

// The 22 lines the console list shows at start.
const std::vector<std::string>& ConsoleHelpText();

}  // namespace kestrova
