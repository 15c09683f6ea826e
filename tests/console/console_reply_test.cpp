// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/console_reply.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <ostream>
#include <regex>
#include <string>
#include <vector>

#include "support/captured_replies.h"

namespace kestrova {
namespace {

using namespace std::string_literals;

// A case's text as a test name: every character but letters and digits
// becomes "_".
std::string CaseName(const std::string& what) {
  std::string name;
  for (const char c : what) {
    name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  }
  return name;
}

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
                         [](const testing::TestParamInfo<RenderCase>& info) { return CaseName(info.param.what); });

struct JoinCase {
  const char* what;
  std::vector<std::string> datagrams;
  std::vector<std::string> lines;
};

void PrintTo(const JoinCase& c, std::ostream* os) { *os << c.what; }

const std::string kMarkedPrint = "\xFF\xFF\xFF\xFF\x01print\n";

const JoinCase kJoinCases[] = {
    {"the header's 01 goes", {kMarkedPrint + "map: dm/mohdm1\nnext\n"}, {"map: dm/mohdm1", "next"}},
    {"from every datagram", {kMarkedPrint + "a\n", kMarkedPrint + "b\n"}, {"a", "b"}},
    {"a line cut between datagrams is whole",
     {kMarkedPrint + "first li", kMarkedPrint + "ne\nsecond\n"},
     {"first line", "second"}},
    {"a line in three pieces", {kMarkedPrint + "x", kMarkedPrint + "y", kMarkedPrint + "z\n"}, {"xyz"}},
    {"only a trailing piece is dropped", {kMarkedPrint + "a\nb", kMarkedPrint + "c"}, {"a"}},
    {"a header without 01 stays as it was", {"\xFF\xFF\xFF\xFFprint\nmap\n"}, {"map"}},
    {"one 01 only", {"\xFF\xFF\xFF\xFF\x01\x01print\nx\n"s}, {"\x01x"}},
    {"a 01 elsewhere stays", {kMarkedPrint + "\001a\001\n", "\001print\nb\n"}, {"\001a\001", "\001b"}},
    {"a 01 not right after four FF stays", {"\xFF\xFF\xFF\x01print\nx\n"s}, {"\x01x"}},
    {"no datagrams", {}, {}},
};

class JoinReplyDatagramsTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinReplyDatagramsTest, RenderOnceAsOneReply) {
  EXPECT_EQ(RenderConsoleReply(JoinReplyDatagrams(GetParam().datagrams)), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Datagrams, JoinReplyDatagramsTest, testing::ValuesIn(kJoinCases),
                         [](const testing::TestParamInfo<JoinCase>& info) { return CaseName(info.param.what); });

TEST(JoinReplyDatagrams, RealServersOutputCutInsideLinesReadsWhole) {
  const std::vector<std::string> lines =
      RenderConsoleReply(JoinReplyDatagrams(test::CapturedDatagrams("rcon-cvarlist")));

  ASSERT_EQ(lines.size(), 283u);
  // Every variable line has its flags, name and quoted value; a line that
  // lost its beginning to a cut would not.
  const std::regex variable(R"([ SsURIACL?]{9} \S+ "[^"]*")");
  const auto variables = std::count_if(lines.begin(), lines.end(),
                                       [&](const std::string& line) { return std::regex_match(line, variable); });
  EXPECT_EQ(variables, 280);
  EXPECT_EQ(lines[280], "");
  EXPECT_EQ(lines[281], "280 total cvars");
  EXPECT_EQ(lines[282], "280 cvar indexes");

  EXPECT_EQ(RenderConsoleReply(JoinReplyDatagrams(test::CapturedDatagrams("rcon-bad-password"))),
            std::vector<std::string>{"Bad rconpassword."});
}

// Output whose tail was lost: where the loss shows and where it cannot.
struct LostTailCase {
  const char* what;
  std::vector<std::string> datagrams;
  bool mayBeIncomplete;
  std::string lastLine;
};

void PrintTo(const LostTailCase& c, std::ostream* os) { *os << c.what; }

// A datagram of `lines` lines of 99 characters, behind the print header.
std::string PrintDatagram(std::size_t lines) {
  std::string datagram = "\xFF\xFF\xFF\xFF\x01print\n";
  for (std::size_t i = 0; i < lines; ++i) {
    datagram += std::string(99, 'x') + "\n";
  }
  return datagram;
}

class RenderReplyDatagramsTest : public testing::TestWithParam<LostTailCase> {};

TEST_P(RenderReplyDatagramsTest, SaysWhenALostDatagramShows) {
  const ConsoleReplyLines rendered = RenderReplyDatagrams(GetParam().datagrams);

  EXPECT_EQ(rendered.mayBeIncomplete, GetParam().mayBeIncomplete);
  ASSERT_FALSE(rendered.lines.empty());
  EXPECT_EQ(rendered.lines.back(), GetParam().lastLine);
}

const std::vector<std::string> kCvarList = test::CapturedDatagrams("rcon-cvarlist");

INSTANTIATE_TEST_SUITE_P(
    Tails, RenderReplyDatagramsTest,
    testing::Values(
        LostTailCase{"a real server's whole output", kCvarList, false, "280 cvar indexes"},
        // The text ends inside a line: that part of it is kept.
        LostTailCase{"a real server's output cut inside a line", {kCvarList[0], kCvarList[1], kCvarList[2]}, true,
                     "   R     "},
        LostTailCase{"ends at a line end in a full datagram", {PrintDatagram(10), PrintDatagram(10)}, true,
                     std::string(99, 'x')},
        // Servers that cut only between lines fill datagrams of their own
        // size, not the common one.
        LostTailCase{"ends short of that server's own size", {PrintDatagram(13), PrintDatagram(12)}, false,
                     std::string(99, 'x')}),
    [](const testing::TestParamInfo<LostTailCase>& info) { return CaseName(info.param.what); });

}  // namespace
}  // namespace kestrova
