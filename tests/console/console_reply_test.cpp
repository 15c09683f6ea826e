#include "console/console_reply.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using namespace std::string_literals;

struct RenderCase {
  const char* what;
  std::string reply;
  std::vector<std::string> lines;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const RenderCase& c, std::ostream* os) { *os << c.what; }

const RenderCase kRenderCases[] = {
    {"header and marker vanish",
     "\xFF\xFF\xFF\xFF"
     "print\none\ntwo\n"s,
     {"one", "two"}},
    {"FF inside the marker", "pr\xFFint\nx\n"s, {"x"}},
    {"marker inside a line", "xprint\ny\n"s, {"xy"}},
    {"markers are not searched again", "prinprint\nt\n"s, {"print"}},
    {"two line feeds give an empty line", "a\n\nb\n"s, {"a", "", "b"}},
    {"carriage returns stay", "a\r\nb\r\n"s, {"a\r", "b\r"}},
    {"a line ends at its NUL", "ab\0cd\nef\n"s, {"ab", "ef"}},
    {"a NUL first gives an empty line", "\0x\n"s, {""}},
    {"text after the last line feed is dropped", "abc\ndef"s, {"abc"}},
    {"no line feed at all", "no line"s, {}},
    {"empty reply", ""s, {}},
    {"high bytes stay", "\x80\xFE\n"s, {"\x80\xFE"}},
};

class RenderConsoleReplyTest : public testing::TestWithParam<RenderCase> {};

TEST_P(RenderConsoleReplyTest, GivesThePrintedLines) {
  EXPECT_EQ(RenderConsoleReply(GetParam().reply), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Replies, RenderConsoleReplyTest, testing::ValuesIn(kRenderCases),
                         [](const testing::TestParamInfo<RenderCase>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.what)) {
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace kestrova
