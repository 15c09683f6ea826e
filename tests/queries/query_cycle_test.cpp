// SPDX-License-Identifier: GPL-3.0-or-later
// A real query cycle against scripted servers: what it shows, in which
// order, what its end hook is told, and what each cycle tells the change
// detection (RecordCycle).
#include "core/query_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "core/cycle_recorder.h"
#include "queries/scripted_server.h"
#include "support/fixed_clock.h"
#include "support/manual_clock.h"
#include "support/query_window.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;
using std::chrono::milliseconds;

const std::string kInfoReply =
    "\xFF\xFF\xFF\xFF\x01infoResponse\n" +
    Fields({"sv_maxclients", "16", "clients", "2", "mapname", "dm/mohdm6", "hostname", "My  Server", "protocol", "8"});
const std::string kStatusReply = Fields({"fraglimit", "0", "player_0", "zed", "frags_0", "4", "k", "9", "k", "110",
                                         "player_1", "Big Al", "frags_1", "1", "k", "2", "k", "30"});

class QueryCycleTest : public ::testing::Test {
 protected:
  QueryCycleTest() {
    udp1.ReceiveTimeout = 2000;
    udp2.ReceiveTimeout = 2000;
    window.gamePortText = std::to_string(gameServer.Port());
    window.queryPortText = std::to_string(queryServer.Port());
    cycle.SetLogStep([this] { window.Log("log"); });
    cycle.SetCycleEnd([this](const CycleOutcome& outcome) {
      results.push_back(RecordCycle(outcome, shown, milliseconds(500 * static_cast<int>(results.size())), "here"));
      completions.push_back(outcome.completed);
    });
  }

  // Position of the first logged call that begins with `prefix`; the end
  // of the log when there is none.
  std::size_t Position(const std::string& prefix) const {
    const auto& calls = window.calls;
    return static_cast<std::size_t>(
        std::find_if(calls.begin(), calls.end(), [&](const std::string& call) { return call.starts_with(prefix); }) -
        calls.begin());
  }

  ScriptedServer gameServer;
  ScriptedServer queryServer;
  DatagramClient udp1;
  DatagramClient udp2;
  QueryWindow window;
  DisplayModel& shown = window.shown;
  FixedClock clock{LocalTime{2024, 3, 1, 14, 5, 9}};
  QueryCycle cycle{{udp1, udp2, window, shown, window, clock, TimeFormat{}}};
  std::vector<CycleResult> results;
  std::vector<bool> completions;
};

TEST_F(QueryCycleTest, ValidInfoThenStatusThenTimeThenLogAndEverythingTold) {
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply}});

  cycle.Run();

  EXPECT_EQ(gameServer.Finish().size(), 1u);
  EXPECT_EQ(queryServer.Finish().size(), 1u);
  EXPECT_EQ(shown.Label(ShownLabel::HostName), "hostname:  My Server");
  EXPECT_EQ(shown.Rows(), (std::vector<PlayerRow>{{" Big Al", {"1", "2", "30"}}, {" zed", {"4", "9", "110"}}}));
  EXPECT_EQ(window.updateTime, "14:05:09");
  const std::vector<std::size_t> order = {Position("EnableTimer"), Position("HideStartButton"), Position("Label"),
                                          Position("Rows"),        Position("SetUpdateTime"),   Position("log")};
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  EXPECT_EQ(order.back(), window.calls.size() - 1);
  EXPECT_FALSE(cycle.Running());

  EXPECT_EQ(completions, std::vector<bool>{true});
  ASSERT_EQ(results.size(), 1u);
  const CycleResult& result = results[0];
  EXPECT_EQ(result.at, milliseconds(0));
  EXPECT_EQ(result.endpoint, "here");
  EXPECT_TRUE(result.infoAnswered);
  EXPECT_TRUE(result.statusAnswered);
  EXPECT_FALSE(result.infoSkipped);
  EXPECT_EQ(result.hostName, "My Server");
  EXPECT_EQ(result.map, "dm/mohdm6");
  EXPECT_EQ(result.clients, "2");
  EXPECT_EQ(result.maxClients, "16");
  // In the reply's order.
  EXPECT_EQ(result.players, (std::vector<std::string>{"zed", "Big Al"}));
}

TEST_F(QueryCycleTest, BadGamePortEndsTheCycleBeforeAnythingIsSent) {
  window.gamePortText = "port";

  cycle.Run();
  cycle.Run();

  EXPECT_FALSE(gameServer.Peer().Receive(300).has_value());
  EXPECT_FALSE(queryServer.Peer().Receive(0).has_value());
  // Each failed cycle still started the timer and hid the button, and its
  // end was told.
  EXPECT_EQ(window.Count("EnableTimer"), 2);
  EXPECT_EQ(window.Count("HideStartButton"), 2);
  EXPECT_EQ(window.Count("SetUpdateTime"), 0);
  EXPECT_EQ(window.Count("log"), 0);
  EXPECT_EQ(completions, (std::vector<bool>{false, false}));
  EXPECT_FALSE(results[0].infoAnswered);
  EXPECT_FALSE(cycle.Running());
}

TEST_F(QueryCycleTest, SilentServerStillSetsTheTimeButSendsNoStatusQuery) {
  udp1.ReceiveTimeout = 200;
  gameServer.Start({{}});

  cycle.Run();

  EXPECT_EQ(gameServer.Finish().size(), 1u);
  EXPECT_FALSE(queryServer.Peer().Receive(300).has_value());
  EXPECT_TRUE(shown.InfoList().empty());
  EXPECT_EQ(shown.Hint(), kInitialHint);
  EXPECT_EQ(window.updateTime, "14:05:09");
  EXPECT_EQ(window.Count("log"), 1);
}

TEST_F(QueryCycleTest, FailedStatusReceiveLeavesTimeAndRows) {
  const std::vector<PlayerRow> earlier = {{" old", {"1", "2", "3"}}};
  shown.ReplaceRows(earlier);
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{std::string(8193, 'x')}});

  cycle.Run();

  gameServer.Finish();
  queryServer.Finish();
  EXPECT_EQ(shown.Label(ShownLabel::Clients), "clients: 2");
  EXPECT_EQ(shown.Hint(), "Kestrova by ZLX\n\rclients: 2\n\rmapname: dm/mohdm6");
  EXPECT_EQ(shown.Rows(), earlier);
  EXPECT_EQ(window.Count("SetUpdateTime"), 0);
  EXPECT_EQ(window.Count("log"), 0);
}

TEST_F(QueryCycleTest, InfoReplyBreakingOffSkipsStatusAndTime) {
  gameServer.Start({{"infoResponse" + Fields({"clients", "4", "mapname"})}});

  cycle.Run();

  gameServer.Finish();
  EXPECT_EQ(shown.Label(ShownLabel::Clients), "clients: 4");
  EXPECT_FALSE(queryServer.Peer().Receive(300).has_value());
  EXPECT_EQ(window.Count("SetUpdateTime"), 0);
  EXPECT_EQ(window.Count("log"), 0);
}

TEST_F(QueryCycleTest, APlayerListCutShortIsShownButNoList) {
  // The last player lacks its ping: the cycle fails after the rows were read.
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply.substr(0, kStatusReply.rfind("\\k"))}});

  cycle.Run();

  gameServer.Finish();
  queryServer.Finish();
  EXPECT_EQ(shown.Rows(), (std::vector<PlayerRow>{{" Big Al", {"1", "2"}}, {" zed", {"4", "9", "110"}}}));
  EXPECT_EQ(completions, std::vector<bool>{false});
  EXPECT_TRUE(results[0].statusAnswered);
  EXPECT_EQ(results[0].map, "dm/mohdm6");
  EXPECT_EQ(results[0].players, std::nullopt);
}

TEST_F(QueryCycleTest, FailingLogStepIsDroppedToo) {
  cycle.SetLogStep([] { throw 42; });
  udp1.ReceiveTimeout = 100;
  gameServer.Start({{}});

  EXPECT_NO_THROW(cycle.Run());

  gameServer.Finish();
  EXPECT_EQ(window.Count("SetUpdateTime"), 1);
  EXPECT_EQ(completions, std::vector<bool>{false});
  EXPECT_FALSE(cycle.Running());
}

TEST_F(QueryCycleTest, RunEnteredFromInsideACycleIsIgnored) {
  // A tick handled by the window while the cycle waits comes back as a call
  // of Run from inside the running cycle; the hint's change stands in for it.
  bool nestedDone = false;
  bool runningInside = false;
  std::size_t callsBefore = 0;
  std::size_t callsAfter = 0;
  window.onCall = [&](const std::string& entry) {
    if (entry != "Hint" || nestedDone) {
      return;
    }
    nestedDone = true;
    runningInside = cycle.Running();
    callsBefore = window.calls.size();
    cycle.Run();
    callsAfter = window.calls.size();
  };
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply}});

  cycle.Run();

  EXPECT_EQ(gameServer.Finish().size(), 1u);
  EXPECT_EQ(queryServer.Finish().size(), 1u);
  EXPECT_TRUE(nestedDone);
  EXPECT_TRUE(runningInside);
  EXPECT_EQ(callsAfter, callsBefore);
  EXPECT_EQ(cycle.IgnoredRuns(), 1);
  EXPECT_EQ(window.Count("SetUpdateTime"), 1);
  EXPECT_EQ(window.Count("log"), 1);
  // The ignored run ended no cycle.
  EXPECT_EQ(completions, std::vector<bool>{true});
  EXPECT_FALSE(gameServer.Peer().Receive(200).has_value());

  // Once the cycle has ended, the next tick runs a whole cycle again.
  window.onCall = nullptr;
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply}});
  cycle.Run();
  EXPECT_EQ(gameServer.Finish().size(), 1u);
  EXPECT_EQ(queryServer.Finish().size(), 1u);
  EXPECT_EQ(window.Count("SetUpdateTime"), 2);
}

// Against a server that limits: the tick after a refused info request
// skips the info query, and so does a tick that would leave less than the
// reserve; the players are still asked for, the last info reply that came
// being valid.
TEST_F(QueryCycleTest, PacedTicksSkipTheInfoQueryAndKeepThePlayersFresh) {
  test::ManualClock clock;
  RequestAllowance allowance(clock);
  InfoPacing pacing(allowance);
  cycle.SetPacing(&pacing);
  udp1.ReceiveTimeout = 300;
  struct Expected {
    std::chrono::seconds wait;
    bool infoSkipped;
    bool infoAnswered;
    bool statusQueried;
  };
  // The clock stands still: ten answered requests empty the mirror.
  std::vector<Expected> ticks(10, Expected{0s, false, true, true});
  ticks.insert(ticks.end(), {
                                {0s, false, false, false},  // refused where the mirror says spent: it limits
                                {0s, true, false, true},    // skipped; the players still come
                                {4s, false, true, true},    // 4 refilled: sent, 3 kept
                                {0s, true, false, true},    // skipped again
                            });
  std::vector<ScriptedServer::Turn> infoTurns(10, {kInfoReply});
  infoTurns.insert(infoTurns.end(), {{}, {kInfoReply}});
  gameServer.Start(infoTurns);
  queryServer.Start(std::vector<ScriptedServer::Turn>(13, {kStatusReply}));

  int number = 0;
  for (const Expected& tick : ticks) {
    ++number;
    clock.Advance(tick.wait);
    shown.ReplaceInfoList({"left by the last tick"});
    cycle.Run();
    const CycleOutcome& outcome = cycle.LastOutcome();
    EXPECT_EQ(cycle.InfoSkipped(), tick.infoSkipped) << number;
    EXPECT_EQ(outcome.infoSent, !tick.infoSkipped) << number;
    EXPECT_EQ(outcome.infoAnswered, tick.infoAnswered) << number;
    EXPECT_EQ(outcome.statusQueried, tick.statusQueried) << number;
    EXPECT_TRUE(outcome.completed) << number;
    // Skipped ticks leave the info list alone, and say so to the detection.
    EXPECT_EQ(shown.InfoList() == TokenList{"left by the last tick"}, tick.infoSkipped) << number;
    EXPECT_EQ(results.back().infoSkipped, tick.infoSkipped) << number;
  }

  EXPECT_EQ(gameServer.Finish().size(), 12u);
  EXPECT_EQ(queryServer.Finish().size(), 13u);
  EXPECT_TRUE(pacing.Paced());
  EXPECT_EQ(shown.Label(ShownLabel::MapName), "mapname: dm/mohdm6");
  EXPECT_EQ(window.Count("SetUpdateTime"), 14);
  EXPECT_EQ(window.Count("log"), 14);
}

// What a cycle's outcome and the lists it left tell, beyond what the
// cycles above run into.
struct RecordCase {
  const char* what;
  CycleOutcome outcome;
  TokenList statusList;
  bool infoSkipped;
  bool statusAnswered;
  bool players;
};

class RecordCycleTest : public ::testing::TestWithParam<RecordCase> {};

TEST_P(RecordCycleTest, TellsWhatTheCycleLearnt) {
  const RecordCase& c = GetParam();
  DisplayModel shown;
  shown.ReplaceStatusList(c.statusList);
  shown.ReplaceRows({{" bob", {"1", "2", "3"}}});

  const CycleResult result = RecordCycle(c.outcome, shown, milliseconds(0), "");

  EXPECT_EQ(result.infoSkipped, c.infoSkipped) << c.what;
  EXPECT_EQ(result.statusAnswered, c.statusAnswered) << c.what;
  EXPECT_EQ(result.players.has_value(), c.players) << c.what;
  // No info reply came this cycle: no value is told.
  EXPECT_EQ(result.map, std::nullopt) << c.what;
}

const TokenList kPlayerTokens{"", "player_0", "bob"};

INSTANTIATE_TEST_SUITE_P(
    Outcomes, RecordCycleTest,
    ::testing::Values(
        RecordCase{"a skipped info query", {.infoSkipped = true, .completed = true}, {}, true, false, false},
        RecordCase{"a skipped tick that failed", {.infoSkipped = true}, {}, false, false, false},
        RecordCase{"a whole status reply",
                   {.statusQueried = true, .statusAnswered = true, .completed = true},
                   kPlayerTokens,
                   false,
                   true,
                   true},
        RecordCase{"a status datagram of nothing but blanks",
                   {.statusQueried = true, .statusAnswered = true, .completed = true},
                   {},
                   false,
                   false,
                   false},
        RecordCase{"an incomplete status reply: the server answers, with no names",
                   {.statusQueried = true, .statusAnswered = true, .statusIncomplete = true, .completed = true},
                   kPlayerTokens,
                   false,
                   true,
                   false},
        RecordCase{"a status receive that failed: the list is the last cycle's",
                   {.statusQueried = true},
                   kPlayerTokens,
                   false,
                   false,
                   false}),
    [](const auto& info) { return std::to_string(info.index); });

}  // namespace
}  // namespace kestrova::test
