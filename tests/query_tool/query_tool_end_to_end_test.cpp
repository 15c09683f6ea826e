// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-query run as a program against the simulated server on loopback.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "support/sim_server.h"
#include "support/udp_peer.h"
#include "tool_process.h"

namespace kestrova::test {
namespace {

using testing::_;
using testing::AllOf;
using testing::Eq;
using testing::HasSubstr;
using testing::MatchesRegex;

const char kHostName[] = "Query Tool Server";

ToolResult RunQueryTool(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {}) {
#ifdef KESTROVA_QUERY_PATH
  return RunProgram(KESTROVA_QUERY_PATH, arguments, environment);
#else
  (void)arguments;
  (void)environment;
  ADD_FAILURE() << "kestrova-query was not built with the tests";
  return {};
#endif
}

bool Holds(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  EXPECT_EQ(start, text.size()) << "output does not end with a line feed";
  return lines;
}

// A server with a known name, map and three players whose names sort
// differently with and without regard to case.
class QueryToolAgainstServer : public testing::Test {
 protected:
  QueryToolAgainstServer() : server_({"--hostname", kHostName, "--map", "dm/mohdm6", "--fraglimit", "30"}) {
    for (const char* player : {"carl jr;1;9;80", "Bob;7;3;50", "alice;5;2;40"}) {
      EXPECT_EQ(server_.Control(std::string("player add ") + player), "ok");
    }
  }

  std::vector<std::string> Endpoint() const {
    return {"--game-port", std::to_string(server_.GamePort()), "--query-port", std::to_string(server_.QueryPort()),
            "127.0.0.1"};
  }

  ToolResult Query(std::vector<std::string> options = {}) {
    const std::vector<std::string> endpoint = Endpoint();
    options.insert(options.end(), endpoint.begin(), endpoint.end());
    return RunQueryTool(options);
  }

  ToolResult Console(const std::string& command, std::vector<std::string> options = {},
                     const std::vector<std::string>& environment = {}) {
    options.insert(options.end(), {"--rcon", command, "--game-port", std::to_string(server_.GamePort()), "127.0.0.1"});
    return RunQueryTool(options, environment);
  }

  std::string NoAnswerMessage() const {
    return "kestrova-query: no answer from 127.0.0.1:" + std::to_string(server_.GamePort()) + "\n";
  }

  SimServer server_;
};

TEST_F(QueryToolAgainstServer, PlainOutputReadsLikeTheWindow) {
  const ToolResult result = Query();
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 15u) << result.out;
  EXPECT_EQ(lines[0], std::string("hostname:  ") + kHostName);
  EXPECT_EQ(lines[4], "mapname: dm/mohdm6");
  EXPECT_EQ(lines[5], "clients: 3");
  EXPECT_EQ(lines[7], "fraglimit: 30");
  EXPECT_EQ(lines[8], "timelimit: 20");
  EXPECT_EQ(lines[10], "protocol: 8");
  EXPECT_EQ(lines[11], "hint: Kestrova by ZLX | clients: 3 | mapname: dm/mohdm6");
  // Sorted without regard to case, each row with frags, deaths and ping.
  EXPECT_EQ(lines[12], " alice\t5\t2\t40");
  EXPECT_EQ(lines[13], " Bob\t7\t3\t50");
  EXPECT_EQ(lines[14], " carl jr\t1\t9\t80");
}

TEST_F(QueryToolAgainstServer, JsonOutputHoldsTheSameCycle) {
  const ToolResult result = Query({"--json"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out.starts_with("{\"valid\": true, \"labels\": {")) << result.out;
  EXPECT_TRUE(Holds(result.out, std::string("\"Label8\": \"hostname:  ") + kHostName + "\"")) << result.out;
  EXPECT_TRUE(Holds(result.out, "\"Label7\": \"mapname: dm/mohdm6\"")) << result.out;
  EXPECT_TRUE(Holds(result.out, "\"hint\": \"Kestrova by ZLX\\n\\rclients: 3\\n\\rmapname: dm/mohdm6\"")) << result.out;
  EXPECT_TRUE(Holds(result.out, R"("players": [[" alice", "5", "2", "40"], [" Bob", "7", "3", "50"], )"
                                R"([" carl jr", "1", "9", "80"]], )"
                                R"("playerList": [{"name": "alice", "frags": 5, "deaths": 2, "ping": 40}, )"))
      << result.out;
  EXPECT_TRUE(Holds(result.out, "\"infoList\": [\"infoResponse\", ")) << result.out;
  EXPECT_TRUE(Holds(result.out, "\"statusList\": [\"\", ")) << result.out;
  // The info reply's fields as sent, the host name's blanks included.
  EXPECT_TRUE(Holds(result.out, "\"server\": {\"gamever\": \"1.11\", \"maxPing\": \"200\", ")) << result.out;
  EXPECT_TRUE(Holds(result.out, std::string("\"clients\": \"3\", \"mapname\": \"dm/mohdm6\", \"hostname\": \"") +
                                    kHostName + "\", \"protocol\": \"8\", \"challenge\": \"xxx\"}, "))
      << result.out;
  EXPECT_TRUE(result.out.ends_with("\"error\": null}\n")) << result.out;
}

TEST_F(QueryToolAgainstServer, OpenMetricsOutputReadsBackThroughTheParsers) {
  const ToolResult result = Query({"--openmetrics"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out.ends_with("\n# EOF\n")) << result.out;
  const ToolResult parsed = ParseMetrics(result.out);
  ASSERT_EQ(parsed.exitCode, 0) << parsed.err << result.out;
  const std::string s = "server=127.0.0.1:" + std::to_string(server_.GamePort());
  for (const std::string parser : {"openmetrics ", "text "}) {
    for (const std::string& sample : std::vector<std::string>{
             "kestrova_up " + s + " 1", "kestrova_status_up " + s + " 1", "kestrova_players " + s + " 3",
             "kestrova_max_players " + s + " 16",
             std::string("kestrova_info gametype=1;hostname=") + kHostName + ";map=dm/mohdm6;protocol=8;" + s + " 1",
             "kestrova_fraglimit " + s + " 30", "kestrova_timelimit " + s + " 20",
             "kestrova_player_frags name=alice;" + s + " 5", "kestrova_player_deaths name=Bob;" + s + " 3",
             "kestrova_player_ping_seconds name=carl jr;" + s + " 0.08"}) {
      EXPECT_TRUE(Holds(parsed.out, parser + sample + "\n")) << parser + sample << "\n" << parsed.out;
    }
    EXPECT_TRUE(Holds(parsed.out, parser + "kestrova_query_duration_seconds " + s + " ")) << parsed.out;
  }

  ASSERT_EQ(server_.Control("silent all on"), "ok");
  const ToolResult silent = Query({"--openmetrics"});
  EXPECT_EQ(silent.exitCode, 3);
  EXPECT_EQ(silent.err, NoAnswerMessage());
  const ToolResult down = ParseMetrics(silent.out);
  ASSERT_EQ(down.exitCode, 0) << down.err << silent.out;
  EXPECT_TRUE(Holds(down.out, "openmetrics kestrova_up " + s + " 0\n")) << down.out;
  EXPECT_TRUE(Holds(down.out, "openmetrics kestrova_status_up " + s + " 0\n")) << down.out;
  EXPECT_FALSE(Holds(down.out, "kestrova_info")) << down.out;
}

TEST_F(QueryToolAgainstServer, SilentServerExitsWithThree) {
  ASSERT_EQ(server_.Control("silent all on"), "ok");
  // No label line without a value.
  const ToolResult plain = Query();
  EXPECT_EQ(plain.exitCode, 3);
  EXPECT_EQ(plain.out, "");
  EXPECT_EQ(plain.err, NoAnswerMessage());

  const ToolResult result = Query({"--json"});
  EXPECT_EQ(result.exitCode, 3);
  EXPECT_EQ(result.err, NoAnswerMessage());
  EXPECT_EQ(result.out,
            R"({"valid": false, "labels": {"Label1": "maxPing:", "Label2": "pure:", "Label3": "gametypestring:", )"
            R"("Label4": "gametype:", "Label5": "sv_maxclients:", "Label6": "clients:", "Label7": "mapname:", )"
            R"("Label8": "hostname:", "Label9": "protocol:", "Label10": "fraglimit:", "Label11": "timelimit:"}, )"
            R"("hint": "Kestrova", "players": [], "playerList": [], "infoList": [], "statusList": [], "server": null, )"
            R"("error": null})"
            "\n");
}

TEST_F(QueryToolAgainstServer, GarbageInfoReplyIsNotValid) {
  ASSERT_EQ(server_.Control("garbage info on"), "ok");
  const ToolResult result = Query({"--json"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_TRUE(result.out.starts_with("{\"valid\": false, \"labels\": {\"Label1\": \"maxPing:\"")) << result.out;
  EXPECT_TRUE(Holds(result.out, "\"players\": [], ")) << result.out;
  EXPECT_TRUE(Holds(result.out, "\"statusList\": [], ")) << result.out;
}

TEST_F(QueryToolAgainstServer, OversizeStatusReplyFailsWithTheSocketError) {
  ASSERT_EQ(server_.Control("oversize status on"), "ok");
  const ToolResult plain = Query();
  EXPECT_EQ(plain.exitCode, 1);
  // The system's text for the error, behind the program's name.
  EXPECT_EQ(plain.err, "kestrova-query: Message too long\n");
  // The info query had run: its labels stay.
  EXPECT_TRUE(Holds(plain.out, "mapname: dm/mohdm6\n")) << plain.out;

  const ToolResult json = Query({"--json"});
  EXPECT_EQ(json.exitCode, 1);
  EXPECT_TRUE(json.out.starts_with("{\"valid\": true, ")) << json.out;
  EXPECT_TRUE(json.out.ends_with("\"error\": \"Message too long\"}\n")) << json.out;
  EXPECT_EQ(json.err, plain.err);
}

TEST_F(QueryToolAgainstServer, ConsoleStatusListsThePlayers) {
  const ToolResult result = Console("rcon secret status");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 6u) << result.out;
  // The 01 byte of the server's reply header stays out of the first line.
  EXPECT_EQ(lines[0], "map: dm/mohdm6");
  for (const char* name : {"carl jr", "Bob", "alice"}) {
    EXPECT_TRUE(Holds(result.out, name)) << name;
  }

  const ToolResult json = Console("rcon secret status", {"--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_TRUE(json.out.starts_with("{\"lines\": [\"map: dm/mohdm6\", ")) << json.out;
  EXPECT_TRUE(Holds(json.out, "map: dm/mohdm6\", \"num score ping name")) << json.out;
  EXPECT_TRUE(json.out.ends_with("], \"error\": null}\n")) << json.out;
}

// Console commands and what they print, a fault switched on for some; each
// row's fault is switched off again after it.
TEST_F(QueryToolAgainstServer, ConsoleRepliesAndTheirExitCodes) {
  const std::string longText(3000, 'x');
  // clang-format off
  struct Case {
    const char* what;
    const char* fault;
    std::string command;
    std::vector<std::string> options;
    int exitCode;
    testing::Matcher<std::string> out;
    testing::Matcher<std::string> err;
  } const cases[] = {
      {"a wrong password", "", "rcon guess status", {}, 0, Eq("Bad rconpassword.\n"), _},
      {"a long line whole", "", "rcon secret say " + longText, {}, 0, Eq("console: " + longText + "\n"), _},
      // A command that prints nothing still gets its "print\n" back.
      {"a command that prints nothing", "", "rcon secret map dm/mohdm2", {}, 0, Eq(""), Eq("")},
      {"no reply", "silent rcon on", "rcon secret status", {"--json"}, 3, Eq("{\"lines\": [], \"error\": null}\n"),
       Eq(NoAnswerMessage())},
      {"an oversize reply", "oversize rcon on", "rcon secret status", {"--json"}, 1,
       Eq("{\"lines\": [], \"error\": \"Message too long\"}\n"), Eq("kestrova-query: Message too long\n")},
  };
  // clang-format on
  for (const Case& c : cases) {
    if (*c.fault != '\0') {
      ASSERT_EQ(server_.Control(c.fault), "ok");
    }
    const ToolResult result = Console(c.command, c.options);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.what << ": " << result.err;
    EXPECT_THAT(result.out, c.out) << c.what;
    EXPECT_THAT(result.err, c.err) << c.what;
    ASSERT_EQ(server_.Control("normal"), "ok");
  }
}

TEST_F(QueryToolAgainstServer, ConsoleGathersAReplySpreadOverDatagrams) {
  const ToolResult result = Console("rcon secret cmdlist");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_GE(lines.size(), 2u);
  // The last line counts the names above it, so a lost datagram shows.
  std::smatch count;
  ASSERT_TRUE(std::regex_match(lines.back(), count, std::regex("([0-9]+) commands"))) << lines.back();
  EXPECT_EQ(std::stoul(count[1]), lines.size() - 1);
  EXPECT_GT(result.out.size(), 1400u) << "the listing should need more than one datagram";

  // The server cuts its output inside lines; cut between lines it reads the same.
  ASSERT_EQ(server_.Control("printcut lines"), "ok");
  EXPECT_EQ(Console("rcon secret cmdlist").out, result.out);
}

TEST_F(QueryToolAgainstServer, ConsoleSendsEachCharacterAsItsByte) {
  const std::string command = "rcon secret say caf\xC3\xA9";
  const ToolResult utf8 = Console(command, {}, {"LC_ALL=C.UTF-8"});
  EXPECT_EQ(utf8.exitCode, 0) << utf8.err;
  EXPECT_EQ(utf8.out, "console: caf\xE9\n");
  // JSON gives the byte E9 back as the character U+00E9.
  EXPECT_EQ(Console(command, {"--json"}, {"LC_ALL=C.UTF-8"}).out,
            "{\"lines\": [\"console: caf\xC3\xA9\"], \"error\": null}\n");
  // Outside a UTF-8 locale the bytes go as they are.
  EXPECT_EQ(Console(command, {}, {"LC_ALL=C"}).out, "console: caf\xC3\xA9\n");

  const ToolResult euro = Console("rcon secret say 5 \xE2\x82\xAC", {}, {"LC_ALL=C.UTF-8"});
  EXPECT_EQ(euro.exitCode, 2);
  EXPECT_TRUE(Holds(euro.err, "U+20AC")) << euro.err;
}

// The last of the listing's three datagrams lost: the loss shows, and the
// text that came stays.
TEST_F(QueryToolAgainstServer, ConsoleOutputMissingItsEndSaysItMayBeIncomplete) {
  const ToolResult whole = Console("rcon secret cmdlist");
  ASSERT_EQ(server_.Control("droppart rcon 3"), "ok");

  const ToolResult cut = Console("rcon secret cmdlist");

  EXPECT_EQ(cut.exitCode, 0) << cut.err;
  EXPECT_EQ(cut.err, "kestrova-query: output may be incomplete: part of the reply did not arrive\n");
  EXPECT_EQ(whole.err, "");
  EXPECT_TRUE(whole.out.starts_with(cut.out.substr(0, cut.out.size() - 1))) << cut.out;
  EXPECT_GE(cut.out.size(), 1900u);
}

// Every reply lacks its second part, the retry's too: no partial list.
TEST(QueryToolLossyServer, StatusReplyMissingAPartIsNoCompleteAnswer) {
  SimServer server({"--players", "64", "--drop-part=status:2"});
  const std::vector<std::string> endpoint = {"--game-port", std::to_string(server.GamePort()), "--query-port",
                                             std::to_string(server.QueryPort()), "127.0.0.1"};
  const std::string message =
      "incomplete status reply from 127.0.0.1:" + std::to_string(server.QueryPort()) + ": part 2 of 3 missing";

  const ToolResult plain = RunQueryTool(endpoint);
  EXPECT_EQ(plain.exitCode, 3);
  EXPECT_EQ(plain.err, "kestrova-query: " + message + "\n");
  // The info labels and the hint, no player row; the limits were not read,
  // so their bare captions print no line.
  const std::vector<std::string> lines = Lines(plain.out);
  EXPECT_EQ(lines.size(), 10u) << plain.out;
  EXPECT_TRUE(Holds(plain.out, "clients: 64\n")) << plain.out;
  EXPECT_FALSE(Holds(plain.out, "limit")) << plain.out;

  std::vector<std::string> json = {"--json"};
  json.insert(json.end(), endpoint.begin(), endpoint.end());
  const ToolResult reported = RunQueryTool(json);
  EXPECT_EQ(reported.exitCode, 3);
  EXPECT_TRUE(Holds(reported.out, "\"players\": [], ")) << reported.out;
  EXPECT_TRUE(reported.out.ends_with("\"error\": \"" + message + "\"}\n")) << reported.out;

  ASSERT_EQ(server.Control("droppart status 0"), "ok");
  const ToolResult whole = RunQueryTool(endpoint);
  EXPECT_EQ(whole.exitCode, 0) << whole.err;
  EXPECT_EQ(Lines(whole.out).size(), 12u + 64u);
}

TEST_F(QueryToolAgainstServer, KillserverDoesNotWait) {
  // A silent console would hold any other command for the full time-out.
  ASSERT_EQ(server_.Control("silent rcon on"), "ok");
  const auto start = std::chrono::steady_clock::now();
  const ToolResult result = Console("rcon secret killserver");
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out, "");
  EXPECT_LT(elapsed, std::chrono::milliseconds(1000));
}

// Wrong usage exits with 2 before anything is sent: one line that says
// what is wrong, then where to read more.
TEST(QueryToolUsage, ExitCodesAndTexts) {
  UdpPeer gameServer;
  const std::string gamePort = std::to_string(gameServer.Port());
  const auto wrong = [](const std::string& message) {
    return Eq("kestrova-query: " + message + "\nTry 'kestrova-query --help'.\n");
  };
  // The rows without a message: one line of it, whatever it says.
  const testing::Matcher<std::string> someWrong =
      MatchesRegex("kestrova-query: [^\n]+\nTry 'kestrova-query --help'\\.\n");
  // clang-format off
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    testing::Matcher<std::string> err;
    testing::Matcher<std::string> out = Eq("");
  } const cases[] = {
      {{"--game-port", gamePort, "--query-port", "abc", "127.0.0.1"}, 2,
       wrong("--query-port: 'abc' is not a valid integer value")},
      {{"--game-port", gamePort, "--query-port", "99999", "127.0.0.1"}, 2,
       wrong("--query-port: '99999' is not a port from 1 to 65535")},
      {{"--game-port", "12a", "127.0.0.1"}, 2, wrong("--game-port: '12a' is not a valid integer value")},
      {{"--rcon", "status", "--game-port", "", "127.0.0.1"}, 2, wrong("--game-port: '' is not a valid integer value")},
      {{}, 2, someWrong},
      {{"127.0.0"}, 2, someWrong},
      {{"--port", "1", "127.0.0.1"}, 2, someWrong},
      {{"--rcon", "x", "--query-port", "1", "127.0.0.1"}, 2, someWrong},
      {{"--help"}, 0, Eq(""), AllOf(HasSubstr("--rcon COMMAND"), HasSubstr("  3  no complete answer"))},
      {{"--version"}, 0, Eq(""), Eq(std::string("kestrova-query ") + KESTROVA_VERSION + "\n")},
  };
  // clang-format on
  for (const Case& c : cases) {
    const ToolResult result = RunQueryTool(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << testing::PrintToString(c.arguments);
    EXPECT_THAT(result.out, c.out) << testing::PrintToString(c.arguments);
    EXPECT_THAT(result.err, c.err) << testing::PrintToString(c.arguments);
  }
  EXPECT_EQ(gameServer.Receive(300), std::nullopt);
}

}  // namespace
}  // namespace kestrova::test
