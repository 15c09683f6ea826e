// SPDX-License-Identifier: GPL-3.0-or-later
// The info reply's fields as sent, and the cycle as OpenMetrics text, read
// back with prometheus_client's parsers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/captured_replies.h"
#include "tool_process.h"
#include "tools/query/info_fields.h"
#include "tools/query/json_report.h"
#include "tools/query/openmetrics_report.h"
#include "tools/query/query_snapshot.h"

namespace kestrova::test {
namespace {

using namespace std::string_literals;
using Fields = InfoFields;

struct FieldsCase {
  const char* what;
  std::string received;
  bool valid;
  std::optional<Fields> fields;
};

TEST(InfoFields, AreReadAsTheServerSentThem) {
  const FieldsCase cases[] = {
      {"a real server's reply", CapturedDatagrams("getinfo").front(), true,
       Fields{{"voip", "opus"},
              {"g_needpass", "0"},
              {"pure", "1"},
              {"gametype", "0"},
              {"sv_maxclients", "8"},
              {"g_humanplayers", "0"},
              {"clients", "0"},
              {"mapname", "oa_dm1"},
              {"hostname", "Real Peer  Arena"},
              {"protocol", "71"},
              {"gamename", "Quake3Arena"},
              {"challenge", "xxx"}}},
      {"the 01 byte, blanks, commas and quotes", "\xFF\xFF\xFF\xFF\x01infoResponse\n\\hostname\\A, \"B\"\\x\\1", true,
       Fields{{"hostname", "A, \"B\""}, {"x", "1"}}},
      {"a blank alone after the word", "infoResponse key\\value", true, Fields{{"key", "value"}}},
      {"the word alone", "infoResponse", true, Fields{}},
      {"the word and its separator", "infoResponse\n\\", true, Fields{}},
      {"a key without a value", "infoResponse\\a\\1\\b", true, Fields{{"a", "1"}, {"b", std::nullopt}}},
      {"an empty value", "infoResponse\\a\\\\b\\2", true, Fields{{"a", ""}, {"b", "2"}}},
      {"a key sent twice keeps its place and its last value", "infoResponse\\a\\1\\b\\2\\a\\3", true,
       Fields{{"a", "3"}, {"b", "2"}}},
      {"FF bytes dropped, a zero byte ends the reply", "infoResponse\\n\\\xE9\xFFt\xE9\\z\\1\0\\y\\2"s, true,
       Fields{{"n", "\xE9t\xE9"}, {"z", "1"}}},
      {"a quoted word", "\"infoResponse\"\\a\\1", true, Fields{{"a", "1"}}},
      {"not valid", "infoResponse\\a\\1", false, std::nullopt},
  };
  for (const FieldsCase& c : cases) {
    EXPECT_EQ(ReadInfoFields(c.received, c.valid), c.fields) << c.what;
  }
}

TEST(QueryJson, ServerHoldsTheInfoFieldsMappedAsTheRest) {
  QuerySnapshot snapshot;
  snapshot.valid = true;
  snapshot.infoReply = "\xFF\xFF\xFF\xFF\x01infoResponse\n\\hostname\\Caf\xE9 \"1\"\\clients\\12\\odd";
  const std::string json = QueryJson(snapshot);
  EXPECT_THAT(json, testing::HasSubstr(R"("statusList": [], "server": {"hostname": "Caf)"
                                       "\xC3\xA9"
                                       R"( \"1\"", "clients": "12", "odd": null}, "error": null})"));
  snapshot.valid = false;
  EXPECT_THAT(QueryJson(snapshot), testing::HasSubstr(R"("server": null, )"));
}

QuerySnapshot ServerSnapshot() {
  QuerySnapshot snapshot;
  snapshot.valid = true;
  snapshot.answered = true;
  snapshot.infoReply =
      "\xFF\xFF\xFF\xFF\x01infoResponse\n\\sv_maxclients\\16\\clients\\4\\mapname\\dm/mohdm6\\gametype\\1"
      "\\hostname\\My  \"Best\" Server\\protocol\\8";
  snapshot.shown.SetValue(ShownLabel::FragLimit, "30");
  snapshot.shown.SetValue(ShownLabel::TimeLimit, "20");
  snapshot.shown.ReplaceRows({{" Big Al", {"12", "3", "48"}},
                              {" bob", {"4", "-1", "110"}},
                              {" bob", {"1", "0", "999"}},
                              {" cut", {"7"}},
                              {" odd", {"x", "1.5", ""}}});
  snapshot.durationSeconds = 0.0125;
  return snapshot;
}

// How parse_openmetrics.py writes a label value whose characters are the bytes of `bytes`.
std::string Shown(const std::string& bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != ';' && c != '=') {
      out += c;
    } else {
      static const char digits[] = "0123456789abcdef";
      out += "\\x";
      out += digits[byte >> 4];
      out += digits[byte & 0x0F];
    }
  }
  return out;
}

TEST(OpenMetricsReport, BothParsersReadEveryByteOfAHostNameBack) {
  // Every byte a host name can carry: the backslash separates fields,
  // FF bytes are dropped and a zero byte ends the reply.
  std::string name;
  for (int byte = 1; byte < 0xFF; ++byte) {
    if (byte != '\\') {
      name += static_cast<char>(byte);
    }
  }
  QuerySnapshot snapshot;
  snapshot.valid = true;
  snapshot.infoReply = "infoResponse\n\\hostname\\" + name + "\\mapname\\m";
  const ToolResult parsed = ParseMetrics(OpenMetricsReport(snapshot));
  ASSERT_EQ(parsed.exitCode, 0) << parsed.err;
  for (const char* parser : {"openmetrics", "text"}) {
    EXPECT_THAT(parsed.out, testing::HasSubstr(std::string(parser) + " kestrova_info gametype=;hostname=" +
                                               Shown(name) + ";map=m;protocol= 1\n"));
  }
}

// Each parser in turn reads exactly `samples`, in this order.
std::string BothParsersRead(const std::vector<std::string>& samples) {
  std::string expected;
  for (const char* parser : {"openmetrics", "text"}) {
    for (const std::string& sample : samples) {
      expected += std::string(parser) + " " + sample + "\n";
    }
  }
  return expected;
}

TEST(OpenMetricsReport, BothParsersTakeAWholeCycle) {
  QuerySnapshot snapshot = ServerSnapshot();
  snapshot.shown.ReplaceStatusList({"", "fraglimit", "30"});
  const ToolResult parsed = ParseMetrics(OpenMetricsReport(snapshot, {.server = "192.0.2.10:12203"}));
  ASSERT_EQ(parsed.exitCode, 0) << parsed.err;
  // Every series names the server, so that several files can stand side by side.
  const std::string s = "server=192.0.2.10:12203";
  EXPECT_EQ(parsed.out,
            BothParsersRead({
                "kestrova_up " + s + " 1",
                "kestrova_status_up " + s + " 1",
                "kestrova_status_incomplete " + s + " 0",
                "kestrova_players " + s + " 4",
                "kestrova_max_players " + s + " 16",
                "kestrova_info gametype=1;hostname=My  \"Best\" Server;map=dm/mohdm6;protocol=8;" + s + " 1",
                "kestrova_fraglimit " + s + " 30",
                "kestrova_timelimit " + s + " 20",
                "kestrova_player_frags name=Big Al;" + s + " 12",
                "kestrova_player_frags name=bob;" + s + " 4",
                "kestrova_player_frags n=2;name=bob;" + s + " 1",  // a second player of the same name
                "kestrova_player_frags name=cut;" + s + " 7",      // a row cut short keeps what it has
                "kestrova_player_deaths name=Big Al;" + s + " 3",
                "kestrova_player_deaths name=bob;" + s + " -1",
                "kestrova_player_deaths n=2;name=bob;" + s + " 0",
                "kestrova_player_deaths name=odd;" + s + " 1.5",  // its frags and ping are no numbers
                "kestrova_player_ping_seconds name=Big Al;" + s + " 0.048",
                "kestrova_player_ping_seconds name=bob;" + s + " 0.11",
                "kestrova_player_ping_seconds n=2;name=bob;" + s + " 0.999",
                "kestrova_query_duration_seconds " + s + " 0.0125",
            }));
  // A parser that takes anything would prove nothing.
  EXPECT_NE(ParseMetrics("kestrova_up{name=\"a\"b\"} 1\n# EOF\n").exitCode, 0) << "a quote not escaped";
  EXPECT_NE(ParseMetrics("kestrova_up 1\n").exitCode, 0) << "no # EOF";
}

TEST(OpenMetricsReport, TellsHowTheStatusQueryEnded) {
  struct Case {
    const char* what;
    bool valid, statusCame, incomplete, failed;
    const char* statusUpAndIncomplete;
  };
  const Case cases[] = {
      {"a status reply read whole", true, true, false, false, "1 0"},
      {"no status reply", true, false, false, false, "0 0"},
      {"a part missing", true, true, true, true, "0 1"},
      {"a failure", true, true, false, true, "0 0"},
      {"no valid info reply", false, false, false, false, "0 0"},
  };
  for (const Case& c : cases) {
    QuerySnapshot snapshot = ServerSnapshot();
    snapshot.valid = c.valid;
    snapshot.shown.ReplaceStatusList(c.statusCame ? TokenList{"", "fraglimit", "30"} : TokenList{});
    snapshot.statusIncomplete = c.incomplete;
    snapshot.error = c.failed ? std::optional<std::string>("failed") : std::nullopt;
    const std::string text = OpenMetricsReport(snapshot);
    const auto value = [&](const std::string& name) {
      return text.substr(text.find("\n" + name + " ") + name.size() + 2, 1);
    };
    EXPECT_EQ(value("kestrova_status_up") + " " + value("kestrova_status_incomplete"), c.statusUpAndIncomplete)
        << c.what;
  }
}

}  // namespace
}  // namespace kestrova::test
