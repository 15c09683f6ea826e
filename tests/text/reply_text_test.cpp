// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reply_text.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrova {
namespace {

using namespace std::string_literals;

TEST(CutAtNul, KeepsTheBytesBeforeTheFirstZeroByte) {
  EXPECT_EQ(CutAtNul("no zero"), "no zero");
  EXPECT_EQ(CutAtNul("\0abc"s), "");
  EXPECT_EQ(CutAtNul("ab\0c\0d"s), "ab");
  EXPECT_EQ(CutAtNul(""), "");
}

TEST(ReplaceAll, ReplacesLeftToRightWithoutRescanning) {
  struct Case {
    std::string pattern, replacement, text, expected;
  };
  const Case cases[] = {
      {"aa", "b", "aaa", "ba"},
      {"a", "aa", "a", "aa"},
      {"", "x", "text", "text"},
      {"zz", "x", "text", "text"},
      {"\xFF", "", "\xFF\xFF\xFFinfo\xFFResponse", "infoResponse"},
      {"\\", ",", "\\a\\b\\", ",a,b,"},
      {"print\n", "", "print\nline one\nprint\nline two\n", "line one\nline two\n"},
      {"ab", "", "aabbab", "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("pattern '" + c.pattern + "' in '" + c.text + "'");
    EXPECT_EQ(ReplaceAll(c.pattern, c.replacement, c.text), c.expected);
  }
}

TEST(NormaliseReply, CutsThenDropsFfThenTurnsBackslashesIntoCommas) {
  EXPECT_EQ(NormaliseReply("\xFF\xFF\xFF\xFFinfoResponse\n\\hostname\\Box\0\\junk"s), "infoResponse\n,hostname,Box");
  EXPECT_EQ(NormaliseReply("\\a\xFF\\b"), ",a,b");
  EXPECT_EQ(NormaliseReply("\0\xFF"s), "");
}

TEST(SplitCommaText, FollowsTheCommaListRules) {
  struct Case {
    const char* rule;
    std::string text;
    TokenList expected;
  };
  // clang-format off
  const Case cases[] = {
      {"empty text", "", {}},
      {"only blanks", " \t\r\n\x01 ", {}},
      {"comma separates", "a,b", {"a", "b"}},
      {"blank separates", "a b", {"a", "b"}},
      {"blanks round a comma are one separator", "a , b", {"a", "b"}},
      {"control bytes are blanks", "a\x01\x1F" "b", {"a", "b"}},
      {"leading and trailing blanks give nothing", "  a  ", {"a"}},
      {"comma after comma is an empty token", "a,,b", {"a", "", "b"}},
      {"blanks between commas don't matter", "a, ,b", {"a", "", "b"}},
      {"leading comma is an empty first token", ",a", {"", "a"}},
      {"trailing comma gives nothing", "a,", {"a"}},
      {"two trailing commas give one empty token", "a,,", {"a", ""}},
      {"a lone comma", ",", {""}},
      {"zero byte ends the text", "a\0b,c"s, {"a"}},
      {"quoted token keeps blanks", "\"x y\",z", {"x y", "z"}},
      {"quoted token keeps commas", "\"a,b\" c", {"a,b", "c"}},
      {"two quotes are an empty token", "\"\"", {""}},
      {"next token starts right after the closing quote", "\"ab\"cd", {"ab", "cd"}},
      {"quote inside an unquoted token is ordinary", "a\"b", {"a\"b"}},
      {"doubled quote inside quotes is one quote", "\"say \"\"hi\"\"\",x", {"say \"hi\"", "x"}},
      {"unterminated quote runs to the end", "\"a, b", {"a, b"}},
      {"unterminated quote still collapses pairs", "x \"a\"\"b ", {"x", "a\"b "}},
      {"unterminated quote stops at a zero byte", "\"ab\0cd"s, {"ab"}},
      {"high bytes are ordinary", "\x80\xE9t\xE9,\xFF", {"\x80\xE9t\xE9", "\xFF"}},
      {"normalised info reply",
       "infoResponse\n,hostname,My Server,protocol,8",
       {"infoResponse", "hostname", "My", "Server", "protocol", "8"}},
      {"normalised status reply starts with an empty token",
       ",gamename,q3,player_0,Bob,frags_0,5",
       {"", "gamename", "q3", "player_0", "Bob", "frags_0", "5"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rule);
    TokenList list{"left", "over"};
    SplitCommaText(c.text, list);
    EXPECT_EQ(list, c.expected);
  }
}

TEST(AddressToText, WritesFourDecimalOctetsMostSignificantFirst) {
  EXPECT_EQ(AddressToText(0), "0.0.0.0");
  EXPECT_EQ(AddressToText(0xC0A80A05), "192.168.10.5");
  EXPECT_EQ(AddressToText(0x7F000001), "127.0.0.1");
  EXPECT_EQ(AddressToText(0xFFFFFFFF), "255.255.255.255");
  EXPECT_EQ(AddressToText(0x0A00FF00), "10.0.255.0");
}

TEST(EqualsAndContains, CompareBytesExactly) {
  EXPECT_TRUE(Equals("hostname", "hostname"));
  EXPECT_FALSE(Equals("Hostname", "hostname"));
  EXPECT_FALSE(Equals("host", "hostname"));
  EXPECT_TRUE(Equals("", ""));
  EXPECT_TRUE(Equals("a\0b"s, "a\0b"s));
  EXPECT_FALSE(Equals("a\0b"s, "a\0c"s));

  EXPECT_TRUE(Contains("xplayer_y", "player_"));
  EXPECT_TRUE(Contains("player_", "player_"));
  EXPECT_FALSE(Contains("xPlayer_y", "player_"));
  EXPECT_FALSE(Contains("play", "player_"));
  EXPECT_FALSE(Contains("anything", ""));
  EXPECT_FALSE(Contains("", ""));
}

}  // namespace
}  // namespace kestrova
