#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The printed lines of one console reply: every FF byte removed, then every
// "print\n", then the rest split at line feeds; each line cut at its first
// zero byte; text after the last line feed dropped. Carriage returns stay.
std::vector<std::string> RenderConsoleReply(std::string_view reply);

}  // namespace kestrova
