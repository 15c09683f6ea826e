// SPDX-License-Identifier: GPL-3.0-or-later
// Console replies as the console shows them: each datagram alone, and the
// datagrams of one input joined into one reply (kDatagramSeparator cuts
// them).
#include "console/console_reply.h"
#include "core/reply_text.h"
#include "fuzz_support.h"

namespace {

using namespace kestrova;

constexpr std::string_view kHeader = "\xFF\xFF\xFF\xFF\x01print\n";

void CheckRendering(std::string_view reply) {
  const std::vector<std::string> lines = RenderConsoleReply(reply);
  // Each line ends at a line feed that the FF and marker removal left.
  const std::string left = ReplaceAll("print\n", "", ReplaceAll("\xFF", "", reply));
  FUZZ_CHECK(lines.size() == fuzz::CountOf(left, '\n'));
  FUZZ_CHECK(lines.size() <= fuzz::CountOf(reply, '\n'));
  std::size_t bytes = 0;
  for (const std::string& line : lines) {
    FUZZ_CHECK(line.find_first_of(std::string_view("\n\0\xFF", 3)) == std::string::npos);
    bytes += line.size() + 1;
  }
  FUZZ_CHECK(bytes <= left.size());
  FUZZ_CHECK(RenderConsoleReply(reply) == lines);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::InputText(data, size);
  const std::vector<std::string> datagrams = fuzz::SplitInput(input, fuzz::kDatagramSeparator);

  std::size_t headers = 0;
  std::size_t total = 0;
  for (const std::string& datagram : datagrams) {
    CheckRendering(datagram);
    headers += datagram.starts_with("\xFF\xFF\xFF\xFF\x01") ? 1 : 0;
    total += datagram.size();
  }
  const std::string joined = JoinReplyDatagrams(datagrams);
  FUZZ_CHECK(joined.size() == total - headers);
  CheckRendering(joined);

  // Output that holds no FF byte and no marker of its own shows the same
  // lines however a server cuts it into datagrams.
  std::string text;
  for (const std::string& datagram : datagrams) {
    text += datagram;
  }
  if (text.find('\xFF') == std::string::npos && text.find("print\n") == std::string::npos) {
    std::vector<std::string> cut;
    for (const std::string& piece : datagrams) {
      cut.push_back(std::string(kHeader) + piece);
    }
    FUZZ_CHECK(RenderConsoleReply(JoinReplyDatagrams(cut)) ==
               RenderConsoleReply(JoinReplyDatagrams({std::string(kHeader) + text})));
  }
  return 0;
}
