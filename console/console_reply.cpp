#include "console/console_reply.h"

#include "core/reply_text.h"

namespace kestrova {

namespace {

constexpr std::string_view kMarkedHeader = "\xFF\xFF\xFF\xFF\x01";
constexpr std::size_t kMarkAt = 4;

}  // namespace

std::vector<std::string> RenderConsoleReply(std::string_view reply) {
  // FF bytes go first, so a marker with an FF inside it ("pr" FF "int\n")
  // is whole again when the markers are removed.
  const std::string text = ReplaceAll("print\n", "", ReplaceAll("\xFF", "", reply));

  std::vector<std::string> lines;
  std::string_view rest = text;
  for (std::size_t end = rest.find('\n'); end != std::string_view::npos; end = rest.find('\n')) {
    lines.push_back(CutAtNul(rest.substr(0, end)));
    rest.remove_prefix(end + 1);
  }
  // What follows the last line feed is an unfinished line and is not shown.
  return lines;
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
