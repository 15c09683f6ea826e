// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The printed lines of one console reply: every FF byte removed, then every
// "print\n", then the rest split at line feeds; each line cut at its first
// zero byte; text after the last line feed dropped. Carriage returns stay.
std::vector<std::string> RenderConsoleReply(std::string_view reply);

// The printed lines of a reply that came as `datagrams` (JoinReplyDatagrams,
// then RenderConsoleReply), with what tells that a datagram of it may have
// been lost on the way.
struct ConsoleReplyLines {
  std::vector<std::string> lines;
  // The text ends inside a line (that partial line is kept, as the last
  // one), or the last datagram holds full-size text (kFullConsoleText), as
  // one that more output followed does. A middle datagram lost leaves no
  // such trace: console datagrams carry no numbers.
  bool mayBeIncomplete = false;
};

// Servers cut long console output into datagrams when some 1000 bytes of
// text are full (real ones a little earlier when the next piece would not
// fit; others only between lines, at a larger size). A last datagram holds
// full-size text when it has at least kFullConsoleText bytes and no fewer
// than the reply's longest less kFullConsoleMargin: one that more output
// likely followed.
inline constexpr std::size_t kFullConsoleText = 980;
inline constexpr std::size_t kFullConsoleMargin = 40;

// The line the console list shows below output that may be incomplete.
inline constexpr char kIncompleteOutputText[] = "output may be incomplete: part of the reply did not arrive";

ConsoleReplyLines RenderReplyDatagrams(const std::vector<std::string>& datagrams);

// The text of one reply that came as `datagrams`, to be rendered once: the
// datagrams in arrival order, joined. Servers cut long output wherever
// their buffer fills, also inside a line, and each datagram begins with
// its own header FF FF FF FF 01 "print\n"; the 01 of such a header is
// dropped, since the rendering would keep it as the first character of a
// line. Every other byte stays, a 01 anywhere else too.
std::string JoinReplyDatagrams(const std::vector<std::string>& datagrams);

}  // namespace kestrova
