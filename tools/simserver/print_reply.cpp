#include "tools/simserver/print_reply.h"

#include <string_view>

#include "tools/simserver/datagram_limits.h"

namespace kestrova::simserver {

std::vector<std::string> PrintDatagrams(const std::vector<std::string>& lines) {
  const std::string header = std::string(kReplyHeader) + "print\n";
  std::vector<std::string> datagrams;
  std::string current = header;
  auto flush = [&] {
    datagrams.push_back(current);
    current = header;
  };
  for (const std::string& line : lines) {
    std::string text = line + "\n";
    if (current.size() + text.size() > kMaxReplyDatagram && current.size() > header.size()) {
      flush();
    }
    std::string_view rest = text;
    while (current.size() + rest.size() > kMaxReplyDatagram) {
      std::size_t room = kMaxReplyDatagram - current.size();
      current += rest.substr(0, room);
      rest.remove_prefix(room);
      flush();
    }
    current += rest;
  }
  if (current.size() > header.size() || datagrams.empty()) {
    datagrams.push_back(current);
  }
  return datagrams;
}

}  // namespace kestrova::simserver
