// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/socket_error.h"
#include "tools/query/error_text.h"
#include "tools/query/json_report.h"
#include "tools/query/plain_report.h"
#include "tools/query/query_snapshot.h"

namespace kestrova {
namespace {

struct ByteCase {
  unsigned char byte;
  std::string literal;  // the JSON string literal, quotes included
};

class JsonBytes : public testing::TestWithParam<ByteCase> {};

TEST_P(JsonBytes, AreWrittenAsTheirLatin1CodePoint) {
  EXPECT_EQ(JsonString(std::string(1, static_cast<char>(GetParam().byte))), GetParam().literal);
}

INSTANTIATE_TEST_SUITE_P(Json, JsonBytes,
                         testing::Values(ByteCase{0x00, R"("\u0000")"}, ByteCase{0x01, R"("\u0001")"},
                                         ByteCase{0x08, R"("\u0008")"},  // backspace has no short form here
                                         ByteCase{0x09, R"("\t")"}, ByteCase{0x0A, R"("\n")"},
                                         ByteCase{0x0C, R"("\u000C")"}, ByteCase{0x0D, R"("\r")"},
                                         ByteCase{0x1B, R"("\u001B")"}, ByteCase{0x1F, R"("\u001F")"},
                                         ByteCase{0x20, R"(" ")"}, ByteCase{0x22, R"("\"")"}, ByteCase{0x2F, R"("/")"},
                                         ByteCase{0x41, R"("A")"}, ByteCase{0x5C, R"("\\")"}, ByteCase{0x7E, R"("~")"},
                                         ByteCase{0x7F, "\"\x7F\""}, ByteCase{0x80, "\"\xC2\x80\""},
                                         ByteCase{0x9F, "\"\xC2\x9F\""}, ByteCase{0xA0, "\"\xC2\xA0\""},
                                         ByteCase{0xBF, "\"\xC2\xBF\""}, ByteCase{0xC0, "\"\xC3\x80\""},
                                         ByteCase{0xE9, "\"\xC3\xA9\""}, ByteCase{0xFF, "\"\xC3\xBF\""}));

// Reads a JSON string literal back into code points; fails the test on
// anything a JSON reader would refuse.
std::vector<std::uint32_t> DecodeJsonString(const std::string& literal) {
  std::vector<std::uint32_t> points;
  EXPECT_GE(literal.size(), 2u);
  EXPECT_EQ(literal.front(), '"');
  EXPECT_EQ(literal.back(), '"');
  for (std::size_t i = 1; i + 1 < literal.size();) {
    const auto c = static_cast<unsigned char>(literal[i]);
    if (c == '\\') {
      const char kind = literal.at(i + 1);
      const std::string simple = "\"\\/bfnrt";
      const std::string meaning = "\"\\/\b\f\n\r\t";
      if (kind == 'u') {
        points.push_back(static_cast<std::uint32_t>(std::stoul(literal.substr(i + 2, 4), nullptr, 16)));
        i += 6;
      } else {
        const std::size_t at = simple.find(kind);
        EXPECT_NE(at, std::string::npos) << "unknown escape at " << i;
        points.push_back(static_cast<unsigned char>(meaning[at]));
        i += 2;
      }
    } else if (c < 0x20) {
      ADD_FAILURE() << "raw control byte " << int(c) << " at " << i;
      ++i;
    } else if (c == '"') {
      ADD_FAILURE() << "unescaped quote at " << i;
      ++i;
    } else if (c < 0x80) {
      points.push_back(c);
      ++i;
    } else {
      const auto next = static_cast<unsigned char>(literal.at(i + 1));
      EXPECT_TRUE((c & 0xE0) == 0xC0 && (next & 0xC0) == 0x80) << "not a two-byte sequence at " << i;
      points.push_back(((c & 0x1Fu) << 6) | (next & 0x3Fu));
      i += 2;
    }
  }
  return points;
}

TEST(JsonString, EveryByteReadsBackAsItsOwnCodePoint) {
  std::string all;
  std::vector<std::uint32_t> expected;
  for (int byte = 0; byte <= 0xFF; ++byte) {
    all += static_cast<char>(byte);
    expected.push_back(static_cast<std::uint32_t>(byte));
  }
  EXPECT_EQ(DecodeJsonString(JsonString(all)), expected);
}

TEST(QueryJson, HoldsEveryPartInItsPlace) {
  QuerySnapshot snapshot;
  DisplayModel& shown = snapshot.shown;
  shown.SetValue(ShownLabel::HostName, " A \"B\"");
  shown.SetValue(ShownLabel::Clients, "1");
  shown.SetValue(ShownLabel::MapName, "dm/x");
  shown.ShowLabelsInHint();
  // The second a row that a failure left short.
  shown.ReplaceRows({{" zed", {"1", "2", "3"}}, {" cut", {"7"}}});
  shown.ReplaceInfoList({"infoResponse", "hostname"});
  shown.ReplaceStatusList({"", "player_0"});
  snapshot.valid = true;
  snapshot.error = "List index out of bounds (9)";

  EXPECT_EQ(QueryJson(snapshot),
            R"({"valid": true, "labels": {"Label1": "maxPing:", "Label2": "pure:", "Label3": "gametypestring:", )"
            R"("Label4": "gametype:", "Label5": "sv_maxclients:", "Label6": "clients: 1", "Label7": "mapname: dm/x", )"
            R"("Label8": "hostname:  A \"B\"", "Label9": "protocol:", "Label10": "fraglimit:", )"
            R"("Label11": "timelimit:"}, "hint": "Kestrova by ZLX\n\rclients: 1\n\rmapname: dm/x", )"
            R"("players": [[" cut", "7"], [" zed", "1", "2", "3"]], )"
            R"("playerList": [{"name": "cut", "frags": 7, "deaths": null, "ping": null}, )"
            R"({"name": "zed", "frags": 1, "deaths": 2, "ping": 3}], "infoList": ["infoResponse", "hostname"], )"
            R"j("statusList": ["", "player_0"], "server": {}, "error": "List index out of bounds (9)"})j"
            "\n");
}

TEST(QueryJson, PlayerListHoldsNamesAndNumbersForScripts) {
  struct Case {
    PlayerRow row;
    std::string object;
  };
  const Case cases[] = {
      {{" alice", {"10", "2", "50"}}, R"({"name": "alice", "frags": 10, "deaths": 2, "ping": 50})"},
      {{" Big Al", {"-3", "0", "999"}}, R"({"name": "Big Al", "frags": -3, "deaths": 0, "ping": 999})"},
      // Only the caption's own blank goes; a name of one blank keeps the other.
      {{"  ", {"1.5", "", "x"}}, R"({"name": " ", "frags": 1.5, "deaths": "", "ping": "x"})"},
      {{" ", {"+1", "007", "1e3"}}, R"({"name": "", "frags": "+1", "deaths": "007", "ping": "1e3"})"},
      {{" -", {"-", "1.", ".5"}}, R"({"name": "-", "frags": "-", "deaths": "1.", "ping": ".5"})"},
      {{" \xE9t\xE9", {"0.25", "-0", " 1"}},
       "{\"name\": \"\xC3\xA9t\xC3\xA9\", \"frags\": 0.25, \"deaths\": -0, \"ping\": \" 1\"}"},
      // A row that a failure cut short.
      {{" cut", {"7", "8"}}, R"({"name": "cut", "frags": 7, "deaths": 8, "ping": null})"},
  };
  for (const Case& c : cases) {
    QuerySnapshot snapshot;
    snapshot.shown.ReplaceRows({c.row});
    const std::string json = QueryJson(snapshot);
    EXPECT_NE(json.find("\"playerList\": [" + c.object + "], "), std::string::npos) << json;
  }
}

TEST(ConsoleJson, ListsTheLinesAndTheError) {
  EXPECT_EQ(ConsoleJson({"a\r", ""}, std::nullopt), "{\"lines\": [\"a\\r\", \"\"], \"error\": null}\n");
  EXPECT_EQ(ConsoleJson({}, "Socket Error # 10040\r\nMessage too long."),
            "{\"lines\": [], \"error\": \"Socket Error # 10040\\r\\nMessage too long.\"}\n");
}

TEST(ToolErrorText, GivesTheSystemsTextOnOneLine) {
  EXPECT_EQ(ToolErrorText(SocketError(10051)), "Network is unreachable");
  EXPECT_EQ(ToolErrorText(SocketError(10040)), "Message too long");
  EXPECT_EQ(ToolErrorText(SocketError(10061)), "Connection refused");
  EXPECT_EQ(ToolErrorText(SocketError(987654)), "socket error 987654");
  EXPECT_EQ(ToolErrorText(std::runtime_error("Not all bytes sent.")), "Not all bytes sent.");
  EXPECT_EQ(ToolErrorText(std::runtime_error("first\r\nsecond\r\n")), "first: second");
}

TEST(PlainQueryReport, ReadsLikeTheWindow) {
  QuerySnapshot snapshot;
  DisplayModel& shown = snapshot.shown;
  for (int number = 1; number <= kShownLabelCount; ++number) {
    shown.SetValue(static_cast<ShownLabel>(number), std::to_string(number));
  }
  shown.SetValue(ShownLabel::MapName, "\xE9t\xE9");
  shown.ShowLabelsInHint();
  shown.ReplaceRows({{" b", {"1", "2", "3"}}, {" a", {"4"}}});

  EXPECT_EQ(PlainQueryReport(snapshot),
            "hostname: 8\npure: 2\ngametypestring: 3\ngametype: 4\nmapname: \xE9t\xE9\nclients: 6\n"
            "sv_maxclients: 5\nfraglimit: 10\ntimelimit: 11\nmaxPing: 1\nprotocol: 9\n"
            "hint: Kestrova by ZLX | clients: 6 | mapname: \xE9t\xE9\n"
            " a\t4\n"
            " b\t1\t2\t3\n");
}

TEST(PlainQueryReport, LeavesOutWhatNoReplySet) {
  QuerySnapshot snapshot;
  EXPECT_EQ(PlainQueryReport(snapshot), "");
  snapshot.shown.SetValue(ShownLabel::MapName, "");
  snapshot.shown.SetValue(ShownLabel::Clients, "0");
  EXPECT_EQ(PlainQueryReport(snapshot), "mapname: \nclients: 0\n");
}

}  // namespace
}  // namespace kestrova
