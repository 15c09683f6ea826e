// kestrova-query run as a program against the simulated server on loopback.

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>
#include <vector>

#include "support/sim_server.h"
#include "tool_process.h"

namespace kestrova::test {
namespace {

const char kHostName[] = "Query Tool Server";

ToolResult RunQueryTool(const std::vector<std::string>& arguments) {
#ifdef KESTROVA_QUERY_PATH
  return RunProgram(KESTROVA_QUERY_PATH, arguments);
#else
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

  ToolResult Console(const std::string& command, std::vector<std::string> options = {}) {
    options.insert(options.end(), {"--rcon", command, "--game-port", std::to_string(server_.GamePort()), "127.0.0.1"});
    return RunQueryTool(options);
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
  EXPECT_TRUE(Holds(result.out, "\"hint\": \"Kestrova by ZLX\\n\\rclients: 3\\n\\rmapname: dm/mohdm6\""))
      << result.out;
  EXPECT_TRUE(Holds(result.out, R"("players": [[" alice", "5", "2", "40"], [" Bob", "7", "3", "50"], )"
                                R"([" carl jr", "1", "9", "80"]])"))
      << result.out;
  EXPECT_TRUE(Holds(result.out, "\"infoList\": [\"infoResponse\", ")) << result.out;
  EXPECT_TRUE(Holds(result.out, "\"statusList\": [\"\", ")) << result.out;
  EXPECT_TRUE(result.out.ends_with("\"error\": null}\n")) << result.out;
}

TEST_F(QueryToolAgainstServer, SilentServerIsNoFailure) {
  ASSERT_EQ(server_.Control("silent all on"), "ok");
  const ToolResult result = Query({"--json"});
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.out,
            R"({"valid": false, "labels": {"Label1": "maxPing:", "Label2": "pure:", "Label3": "gametypestring:", )"
            R"("Label4": "gametype:", "Label5": "sv_maxclients:", "Label6": "clients:", "Label7": "mapname:", )"
            R"("Label8": "hostname:", "Label9": "protocol:", "Label10": "fraglimit:", "Label11": "timelimit:"}, )"
            R"("hint": "Kestrova", "players": [], "infoList": [], "statusList": [], "error": null})"
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
  EXPECT_EQ(plain.err, "Socket Error # 10040\r\nMessage too long.\n");
  // The info query had run: its labels stay.
  EXPECT_TRUE(Holds(plain.out, "mapname: dm/mohdm6\n")) << plain.out;

  const ToolResult json = Query({"--json"});
  EXPECT_EQ(json.exitCode, 1);
  EXPECT_TRUE(json.out.starts_with("{\"valid\": true, ")) << json.out;
  EXPECT_TRUE(json.out.ends_with("\"error\": \"Socket Error # 10040\\r\\nMessage too long.\"}\n")) << json.out;
}

TEST_F(QueryToolAgainstServer, BadPortTextsFailWithTheConversionMessage) {
  const ToolResult game = RunQueryTool({"--game-port", "12a", "127.0.0.1"});
  EXPECT_EQ(game.exitCode, 1);
  EXPECT_EQ(game.err, "'12a' is not a valid integer value\n");
  EXPECT_TRUE(Holds(game.out, "hostname:\n")) << game.out;

  // A bad query port stops only the status query; the info labels are set.
  const ToolResult query = RunQueryTool(
      {"--json", "--game-port", std::to_string(server_.GamePort()), "--query-port", "12 ", "127.0.0.1"});
  EXPECT_EQ(query.exitCode, 1);
  EXPECT_EQ(query.err, "'12 ' is not a valid integer value\n");
  EXPECT_TRUE(Holds(query.out, "\"Label7\": \"mapname: dm/mohdm6\"")) << query.out;
  EXPECT_TRUE(Holds(query.out, "\"players\": [], ")) << query.out;

  const ToolResult console = RunQueryTool({"--rcon", "status", "--game-port", "", "127.0.0.1"});
  EXPECT_EQ(console.exitCode, 1);
  EXPECT_EQ(console.err, "'' is not a valid integer value\n");
  EXPECT_EQ(console.out, "");
}

TEST_F(QueryToolAgainstServer, ConsoleStatusListsThePlayers) {
  const ToolResult result = Console("rcon secret status");
  ASSERT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 6u) << result.out;
  // The server's reply header ends in a byte that the rendering keeps, so
  // only the end of the first line is certain.
  EXPECT_TRUE(lines[0].ends_with("map: dm/mohdm6")) << lines[0];
  for (const char* name : {"carl jr", "Bob", "alice"}) {
    EXPECT_TRUE(Holds(result.out, name)) << name;
  }

  const ToolResult json = Console("rcon secret status", {"--json"});
  ASSERT_EQ(json.exitCode, 0) << json.err;
  EXPECT_TRUE(json.out.starts_with("{\"lines\": [\"")) << json.out;
  EXPECT_TRUE(Holds(json.out, "map: dm/mohdm6\", \"num score ping name")) << json.out;
  EXPECT_TRUE(json.out.ends_with("], \"error\": null}\n")) << json.out;
}

TEST_F(QueryToolAgainstServer, ConsoleShowsAWrongPassword) {
  const ToolResult result = Console("rcon guess status");
  EXPECT_EQ(result.exitCode, 0) << result.err;
  const std::vector<std::string> lines = Lines(result.out);
  ASSERT_EQ(lines.size(), 1u) << result.out;
  EXPECT_TRUE(lines[0].ends_with("Bad rconpassword.")) << lines[0];
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

TEST_F(QueryToolAgainstServer, OversizeConsoleReplyFails) {
  ASSERT_EQ(server_.Control("oversize rcon on"), "ok");
  const ToolResult result = Console("rcon secret status", {"--json"});
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_EQ(result.err, "Socket Error # 10040\r\nMessage too long.\n");
  EXPECT_EQ(result.out, "{\"lines\": [], \"error\": \"Socket Error # 10040\\r\\nMessage too long.\"}\n");
}

TEST(QueryToolUsage, WrongUsageExitsWithTwo) {
  for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
           {}, {"127.0.0"}, {"--port", "1", "127.0.0.1"}, {"--rcon", "x", "--query-port", "1", "127.0.0.1"}}) {
    const ToolResult result = RunQueryTool(arguments);
    EXPECT_EQ(result.exitCode, 2) << testing::PrintToString(arguments);
    EXPECT_TRUE(Holds(result.err, "Usage: ")) << result.err;
    EXPECT_EQ(result.out, "");
  }
}

TEST(QueryToolUsage, HelpPrintsTheUsage) {
  const ToolResult result = RunQueryTool({"--help"});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_TRUE(Holds(result.out, "--rcon COMMAND")) << result.out;
  EXPECT_EQ(result.err, "");
}

}  // namespace
}  // namespace kestrova::test
