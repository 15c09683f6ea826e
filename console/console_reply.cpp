// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/console_reply.h"

#include <algorithm>

#include "core/reply_text.h"

namespace kestrova {

namespace {

constexpr std::string_view kMarkedHeader = "\xFF\xFF\xFF\xFF\x01";
constexpr std::size_t kMarkAt = 4;

// The reply without its FF bytes and "print\n" markers. FF bytes go first,
// so a marker with an FF inside it ("pr" FF "int\n") is whole again when
// the markers are removed.
std::string PrintedText(std::string_view reply) { return ReplaceAll("print\n", "", ReplaceAll("\xFF", "", reply)); }

}  // namespace

std::vector<std::string> RenderConsoleReply(std::string_view reply) {
  const std::string text = PrintedText(reply);

  std::vector<std::string> lines;
  std::string_view rest = text;
  for (std::size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
    lines.push_back(CutAtNul(rest.substr(0, end)));
    rest.remove_prefix(end + 1);
  }
  // What follows the last line feed is an unfinished line and is not shown.
  return lines;
}

ConsoleReplyLines RenderReplyDatagrams(const std::vector<std::string>& datagrams) {
  const std::string joined = JoinReplyDatagrams(datagrams);
  ConsoleReplyLines result{RenderConsoleReply(joined), false};
  const std::string text = PrintedText(joined);
  const std::size_t lastEnd = text.rfind('\n');
  const std::string_view unfinished =
      std::string_view(text).substr(lastEnd == std::string::npos ? 0 : lastEnd + 1);
  // Zero bytes after the last line end are padding, not a line.
  if (!unfinished.empty() && unfinished.front() != '\0') {
    result.lines.push_back(CutAtNul(unfinished));
    result.mayBeIncomplete = true;
  }
  std::size_t longest = 0;
  std::size_t last = 0;
  for (const std::string& datagram : datagrams) {
    last = PrintedText(JoinReplyDatagrams({datagram})).size();
    longest = std::max(longest, last);
  }
  if (last >= kFullConsoleText && last + kFullConsoleMargin >= longest) {
    result.mayBeIncomplete = true;
  }
  return result;
}

std::string JoinReplyDatagrams(const std::vector<std::string>& datagrams) {
  std::string joined;
  for (const std::string& datagram : datagrams) {
    if (datagram.starts_with(kMarkedHeader)) {
      joined.append(datagram, 0, kMarkAt).append(datagram, kMarkAt + 1);
    } else {
      joined += datagram;
    }
  }
  return joined;
}

}  // namespace kestrova
