// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-exporter run as a program between curl and the simulated server,
// all on loopback.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <future>
#include <string>
#include <vector>

#include "exporter_rig.h"
#include "support/sim_server.h"
#include "support/temp_dir.h"
#include "support/udp_peer.h"
#include "tool_process.h"

namespace kestrova::test {
namespace {

using testing::HasSubstr;
using testing::Not;

const char kTextFormat[] = "text/plain; version=0.0.4; charset=utf-8";
const char kOpenMetrics[] = "application/openmetrics-text; version=1.0.0; charset=utf-8";
const char kAskOpenMetrics[] = "Accept: application/openmetrics-text;version=1.0.0,text/plain;version=0.0.4;q=0.5";

// promtool's lint of a text in the Prometheus text format: exit code 0 and
// no output when it finds nothing.
ToolResult PromtoolCheckMetrics(const std::string& text) {
  const TempDir folder;
  WriteFileBytes(folder / "metrics.txt", text);
  return RunProgram("/bin/sh", {"-c", "promtool check metrics <\"$1\"", "sh", (folder / "metrics.txt").string()});
}

class ExporterAgainstServer : public testing::Test {
 protected:
  ExporterAgainstServer() : server_({"--hostname", "Exporter Server", "--map", "dm/mohdm6"}) {
    for (const char* player : {"alice;5;2;40", "Bob;7;3;50"}) {
      EXPECT_EQ(server_.Control(std::string("player add ") + player), "ok");
    }
  }

  std::string Target() const { return "127.0.0.1:" + std::to_string(server_.GamePort()); }

  std::string ProbeUrl(const ExporterProcess& exporter, const std::string& more = "") const {
    return exporter.BaseUrl() + "/probe?target=" + Target() + "&query_port=" + std::to_string(server_.QueryPort()) +
           more;
  }

  // The info requests the server received, from its "requests" tally.
  long InfoRequestsSent() {
    const std::string tally = server_.Control("requests");
    EXPECT_TRUE(tally.starts_with("ok info ")) << tally;
    return std::stol(tally.substr(8));
  }

  SimServer server_;
  ExporterProcess exporter_;
};

TEST_F(ExporterAgainstServer, ProbeAnswersTheServersMetrics) {
  const HttpAnswer probe = Fetch(ProbeUrl(exporter_));
  ASSERT_EQ(probe.status, 200) << probe.body;
  EXPECT_EQ(probe.contentType, kTextFormat);
  const ToolResult parsed = ParseMetrics(probe.body);
  ASSERT_EQ(parsed.exitCode, 0) << parsed.err;
  const std::string s = "server=" + Target();
  for (const std::string& sample :
       {"kestrova_up " + s + " 1", "kestrova_status_up " + s + " 1", "kestrova_players " + s + " 2",
        "kestrova_info gametype=1;hostname=Exporter Server;map=dm/mohdm6;protocol=8;" + s + " 1",
        "kestrova_player_frags name=alice;" + s + " 5", "kestrova_player_ping_seconds name=Bob;" + s + " 0.05"}) {
    EXPECT_THAT(parsed.out, HasSubstr("text " + sample + "\n"));
  }
  const ToolResult lint = PromtoolCheckMetrics(probe.body);
  EXPECT_EQ(lint.exitCode, 0) << lint.out << lint.err;
  EXPECT_EQ(lint.out + lint.err, "");

  // Prometheus asks for OpenMetrics; players=0 leaves the players out.
  const HttpAnswer brief = Fetch(ProbeUrl(exporter_, "&players=0"), {kAskOpenMetrics});
  EXPECT_EQ(brief.contentType, kOpenMetrics);
  EXPECT_THAT(brief.body, HasSubstr("\nkestrova_players{" + s.substr(0, 6) + "=\"" + Target() + "\"} 2\n"));
  EXPECT_THAT(brief.body, Not(HasSubstr("kestrova_player_")));
  EXPECT_TRUE(brief.body.ends_with("\n# EOF\n"));

  // The exporter's own figures: the text format for promtool, OpenMetrics
  // for Prometheus.
  const ToolResult ownLint = PromtoolCheckMetrics(Fetch(exporter_.BaseUrl() + "/metrics").body);
  EXPECT_EQ(ownLint.exitCode, 0) << ownLint.out << ownLint.err;
  EXPECT_EQ(ownLint.out + ownLint.err, "");
  const ToolResult ownParsed = ParseMetrics(Fetch(exporter_.BaseUrl() + "/metrics", {kAskOpenMetrics}).body);
  ASSERT_EQ(ownParsed.exitCode, 0) << ownParsed.err;
  EXPECT_THAT(ownParsed.out, HasSubstr("openmetrics kestrova_exporter_query_duration_seconds_count - 1\n"));

  EXPECT_EQ(exporter_.Terminate(), 0) << "SIGTERM ends it cleanly";
}

TEST_F(ExporterAgainstServer, ProbesWithinTheCacheTimeOrThatMeetAskTheServerOnce) {
  const HttpAnswer first = Fetch(ProbeUrl(exporter_));
  const HttpAnswer second = Fetch(ProbeUrl(exporter_, "&players=0"));
  EXPECT_EQ(InfoRequestsSent(), 1);
  // One cycle, the same figures.
  const auto duration = [](const std::string& body) { return body.substr(body.find("\nkestrova_query_duration")); };
  EXPECT_EQ(duration(first.body), duration(second.body));
  EXPECT_THAT(Fetch(exporter_.BaseUrl() + "/metrics").body, HasSubstr("\nkestrova_exporter_cache_hits_total 1\n"));

  // Without a cache, a probe that comes while the server's cycle runs still
  // waits for that cycle, and nothing is kept once it has ended.
  ExporterProcess uncached({"--cache-seconds", "0"});
  ASSERT_EQ(server_.Control("delay info 800"), "ok");
  auto third = std::async(std::launch::async, [&] { return Fetch(ProbeUrl(uncached)); });
  auto fourth = std::async(std::launch::async, [&] { return Fetch(ProbeUrl(uncached)); });
  EXPECT_EQ(third.get().body, fourth.get().body);
  EXPECT_EQ(InfoRequestsSent(), 2);
  EXPECT_EQ(Fetch(ProbeUrl(uncached)).status, 200);
  EXPECT_EQ(InfoRequestsSent(), 3);
}

TEST_F(ExporterAgainstServer, SilentServerIsAnsweredAsDown) {
  ASSERT_EQ(server_.Control("silent all on"), "ok");
  const HttpAnswer probe = Fetch(ProbeUrl(exporter_));
  EXPECT_EQ(probe.status, 200);
  EXPECT_THAT(probe.body, HasSubstr("\nkestrova_up{server=\"" + Target() + "\"} 0\n"));
  EXPECT_THAT(probe.body, HasSubstr("\nkestrova_status_up{server=\"" + Target() + "\"} 0\n"));
  EXPECT_THAT(probe.body, Not(HasSubstr("kestrova_info")));
  EXPECT_THAT(Fetch(exporter_.BaseUrl() + "/metrics").body, HasSubstr("\nkestrova_exporter_query_failures_total 1\n"));
}

TEST(ExporterRequests, AreRefusedWithOneLineAndSendNothing) {
  UdpPeer gameServer;
  const std::string port = std::to_string(gameServer.Port());
  const std::string target = "target=127.0.0.1:" + port;
  ExporterProcess exporter;
  struct Case {
    std::string request;
    std::string method;
    long status;
    std::string body;
  };
  const Case cases[] = {
      {"/probe", "GET", 400, "the target parameter is missing: /probe?target=ADDRESS:PORT"},
      {"/probe?target=localhost:" + port, "GET", 400,
       "target 'localhost:" + port + "' is not a dotted IPv4 address with an optional :PORT"},
      {"/probe?target=127.0.0.1:0", "GET", 400, "target port in '0' is not a port from 1 to 65535"},
      {"/probe?target=127.0.0.1:65536", "GET", 400, "target port in '65536' is not a port from 1 to 65535"},
      {"/probe?target=127.0.0.1:%2B12", "GET", 400, "target port in '+12' is not a port from 1 to 65535"},
      {"/probe?target=0.0.0.0:" + port, "GET", 400, "target '0.0.0.0:" + port + "' does not name one host"},
      {"/probe?target=224.0.0.1:" + port, "GET", 400, "target '224.0.0.1:" + port + "' does not name one host"},
      {"/probe?target=255.255.255.255:" + port, "GET", 400,
       "target '255.255.255.255:" + port + "' does not name one host"},
      {"/probe?" + target + "&query_port=x", "GET", 400, "query_port 'x' is not a port from 1 to 65535"},
      {"/probe?" + target + "&players=2", "GET", 400, "players '2' is neither 0 nor 1"},
      {"/probe?" + target + "&module=kestrova", "GET", 400,
       "unknown parameter 'module'; a probe takes target, query_port and players"},
      {"/probe?" + target + "&" + target, "GET", 400, "parameter 'target' is given twice"},
      {"/probe?target=%0A", "GET", 400, "target '?' is not a dotted IPv4 address with an optional :PORT"},
      {"/probe?" + target, "POST", 405, "method POST is not served; use GET"},
      {"/probe?" + target, "DELETE", 405, "method DELETE is not served; use GET"},
      {"/probes?" + target, "GET", 404, "no such page; the exporter serves /probe and /metrics"},
  };
  for (const Case& c : cases) {
    const HttpAnswer answer = Fetch(exporter.BaseUrl() + c.request, {}, c.method);
    EXPECT_EQ(answer.status, c.status) << c.request;
    EXPECT_EQ(answer.body, c.body + "\n") << c.request;
    EXPECT_EQ(answer.contentType, "text/plain; charset=utf-8") << c.request;
  }
  // A request line longer than the bound is refused by the library.
  const HttpAnswer huge = Fetch(exporter.BaseUrl() + "/probe?" + target + "&x=" + std::string(20000, 'a'));
  EXPECT_GE(huge.status, 400);
  EXPECT_LT(huge.status, 500);
  EXPECT_EQ(gameServer.Receive(200), std::nullopt) << "a refused probe sent a datagram";

  const HttpAnswer help = Fetch(exporter.BaseUrl() + "/");
  EXPECT_EQ(help.status, 200);
  EXPECT_THAT(help.body, HasSubstr("GET /probe?target=ADDRESS:GAMEPORT"));
  // The library's own refusal does not reach the exporter's count.
  EXPECT_THAT(Fetch(exporter.BaseUrl() + "/metrics").body,
              HasSubstr("\nkestrova_exporter_refused_requests_total " + std::to_string(std::size(cases)) + "\n"));
}

TEST(ExporterCommandLine, SaysWhatIsWrong) {
#ifdef KESTROVA_EXPORTER_PATH
  ExporterProcess running;
  const std::string taken = running.BaseUrl().substr(std::string("http://").size());
  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string err;
  };
  const std::string tryHelp = "\nTry 'kestrova-exporter --help'.\n";
  const Case cases[] = {
      {{"--listen", taken}, 1, "kestrova-exporter: cannot listen on " + taken + ": Address already in use\n"},
      {{"--listen", "localhost:9640"},
       2,
       "kestrova-exporter: --listen: 'localhost' is not a dotted IPv4 address (IPv6 goes in brackets)" + tryHelp},
      {{"--cache-seconds", "-1"},
       2,
       "kestrova-exporter: --cache-seconds: '-1' is not a number of seconds from 0 to 3600" + tryHelp},
      {{"--port", "1"}, 2, "kestrova-exporter: unknown option '--port'" + tryHelp},
  };
  for (const Case& c : cases) {
    const ToolResult result = RunProgram(KESTROVA_EXPORTER_PATH, c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << testing::PrintToString(c.arguments);
    EXPECT_EQ(result.err, c.err);
    EXPECT_EQ(result.out, "");
  }
  const ToolResult version = RunProgram(KESTROVA_EXPORTER_PATH, {"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("kestrova-exporter ") + KESTROVA_VERSION + "\n");
#else
  GTEST_SKIP() << "kestrova-exporter was not built with the tests";
#endif
}

}  // namespace
}  // namespace kestrova::test
