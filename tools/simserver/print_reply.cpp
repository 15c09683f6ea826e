// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/print_reply.h"

#include <algorithm>
#include <string_view>

#include "tools/simserver/datagram_limits.h"

namespace kestrova::simserver {

namespace {

const std::string& PrintHeader() {
  static const std::string header = std::string(kReplyHeader) + "print\n";
  return header;
}

std::vector<std::string> CutAnywhere(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += '\n';
  }
  std::vector<std::string> datagrams;
  std::string_view rest = text;
  do {
    datagrams.push_back(PrintHeader() + std::string(rest.substr(0, kPrintPayload)));
    rest.remove_prefix(std::min(rest.size(), kPrintPayload));
  } while (!rest.empty());
  return datagrams;
}

std::vector<std::string> CutBetweenLines(const std::vector<std::string>& lines) {
  const std::string& header = PrintHeader();
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

}  // namespace

std::vector<std::string> PrintDatagrams(const std::vector<std::string>& lines, bool anywhere) {
  return anywhere ? CutAnywhere(lines) : CutBetweenLines(lines);
}

}  // namespace kestrova::simserver
