#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The printed lines of one console reply: every FF byte removed, then every
// "print\n", then the rest split at line feeds; each line cut at its first
// zero byte; text after the last line feed dropped. Carriage returns stay.
std::vector<std::string> RenderConsoleReply(std::string_view reply);

// The text of one reply that came as `datagrams`, to be rendered once: the
// datagrams in arrival order, joined. Servers cut long output wherever
// their buffer fills, also inside a line, and each datagram begins with
// its own header FF FF FF FF 01 "print\n"; the 01 of such a header is
// dropped, since the rendering would keep it as the first character of a
// line. Every other byte stays, a 01 anywhere else too.
std::string JoinReplyDatagrams(const std::vector<std::string>& datagrams);

}  // namespace kestrova
