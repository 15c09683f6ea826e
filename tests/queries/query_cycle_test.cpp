#include "core/query_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "queries/scripted_server.h"
#include "support/recording_display.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

const std::string kInfoReply = "\xFF\xFF\xFF\xFFinfoResponse\n" + Fields({"clients", "2", "mapname", "dm/mohdm6"});
const std::string kStatusReply = Fields({"fraglimit", "0", "player_0", "bob", "frags_0", "4", "k", "9", "k", "110"});

class QueryCycleTest : public ::testing::Test {
 protected:
  QueryCycleTest() {
    udp1.ReceiveTimeout = 2000;
    udp2.ReceiveTimeout = 2000;
    display.gamePortText = std::to_string(gameServer.Port());
    display.queryPortText = std::to_string(queryServer.Port());
    cycle.SetLogStep([this] {
      ++logSteps;
      display.Log("log");
    });
  }

  // Position of the first logged call that begins with `prefix`; the end
  // of the log when there is none.
  std::size_t Position(const std::string& prefix) const {
    const auto& calls = display.Calls();
    return static_cast<std::size_t>(
        std::find_if(calls.begin(), calls.end(), [&](const std::string& call) { return call.starts_with(prefix); }) -
        calls.begin());
  }

  ScriptedServer gameServer;
  ScriptedServer queryServer;
  DatagramClient udp1;
  DatagramClient udp2;
  RecordingDisplay display;
  FixedClock clock{LocalTime{2024, 3, 1, 14, 5, 9}};
  QueryCycle cycle{{udp1, udp2, display, display, display, clock, TimeFormat{}}};
  int logSteps = 0;
};

TEST_F(QueryCycleTest, ValidInfoThenStatusThenTimeThenLog) {
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply}});

  cycle.Run();

  EXPECT_EQ(gameServer.Finish().size(), 1u);
  EXPECT_EQ(queryServer.Finish().size(), 1u);
  EXPECT_TRUE(display.TimerEnabled());
  EXPECT_TRUE(display.StartButtonHidden());
  EXPECT_EQ(display.Label(7), "mapname: dm/mohdm6");
  EXPECT_EQ(display.Rows(), (std::vector<PlayerRow>{{" bob", {"4", "9", "110"}}}));
  EXPECT_EQ(display.UpdateTime(), "14:05:09");
  EXPECT_EQ(logSteps, 1);
  const std::vector<std::size_t> order = {
      Position("EnableTimer"), Position("HideStartButton"), Position("ReplaceInfoList"),
      Position("ClearRows"),   Position("AddRow"),          Position("SetUpdateTime"),
      Position("log")};
  EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
  EXPECT_EQ(order.back(), display.Calls().size() - 1);
  EXPECT_FALSE(cycle.Running());
}

TEST_F(QueryCycleTest, BadGamePortEndsTheCycleBeforeAnythingIsSent) {
  display.gamePortText = "port";

  cycle.Run();
  cycle.Run();

  EXPECT_FALSE(gameServer.Peer().Receive(300).has_value());
  EXPECT_FALSE(queryServer.Peer().Receive(0).has_value());
  // Each failed cycle still started the timer and hid the button.
  EXPECT_EQ(std::count(display.Calls().begin(), display.Calls().end(), "EnableTimer"), 2);
  EXPECT_TRUE(display.StartButtonHidden());
  EXPECT_EQ(display.UpdateTimeCount(), 0);
  EXPECT_EQ(logSteps, 0);
  EXPECT_FALSE(cycle.Running());
}

TEST_F(QueryCycleTest, SilentServerStillSetsTheTimeButSendsNoStatusQuery) {
  udp1.ReceiveTimeout = 200;
  gameServer.Start({{}});

  cycle.Run();

  EXPECT_EQ(gameServer.Finish().size(), 1u);
  EXPECT_FALSE(queryServer.Peer().Receive(300).has_value());
  EXPECT_TRUE(display.InfoList().empty());
  EXPECT_EQ(display.HintCount(), 0);
  EXPECT_EQ(display.UpdateTime(), "14:05:09");
  EXPECT_EQ(logSteps, 1);
}

TEST_F(QueryCycleTest, FailedStatusReceiveLeavesTimeAndRows) {
  const std::vector<PlayerRow> earlier = {{" old", {"1", "2", "3"}}};
  display.SetRows(earlier);
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{std::string(8193, 'x')}});

  cycle.Run();

  gameServer.Finish();
  queryServer.Finish();
  EXPECT_EQ(display.Label(6), "clients: 2");
  EXPECT_EQ(display.Hint(), "Kestrova by ZLX\n\rclients: 2\n\rmapname: dm/mohdm6");
  EXPECT_EQ(display.Rows(), earlier);
  EXPECT_EQ(display.UpdateTimeCount(), 0);
  EXPECT_EQ(logSteps, 0);
}

TEST_F(QueryCycleTest, InfoReplyBreakingOffSkipsStatusAndTime) {
  gameServer.Start({{"infoResponse" + Fields({"clients", "4", "mapname"})}});

  cycle.Run();

  gameServer.Finish();
  EXPECT_EQ(display.Label(6), "clients: 4");
  EXPECT_FALSE(queryServer.Peer().Receive(300).has_value());
  EXPECT_EQ(display.UpdateTimeCount(), 0);
  EXPECT_EQ(logSteps, 0);
}

TEST_F(QueryCycleTest, FailingLogStepIsDroppedToo) {
  cycle.SetLogStep([] { throw 42; });
  udp1.ReceiveTimeout = 100;
  gameServer.Start({{}});

  EXPECT_NO_THROW(cycle.Run());

  gameServer.Finish();
  EXPECT_EQ(display.UpdateTimeCount(), 1);
  EXPECT_FALSE(cycle.Running());
}

TEST_F(QueryCycleTest, RunEnteredFromInsideACycleIsIgnored) {
  // A tick handled by the window while the cycle waits comes back as a call
  // of Run from inside the running cycle; the hint update stands in for it.
  bool nestedDone = false;
  bool runningInside = false;
  std::size_t callsBefore = 0;
  std::size_t callsAfter = 0;
  display.onCall = [&](const std::string& entry) {
    if (entry != "SetHint" || nestedDone) {
      return;
    }
    nestedDone = true;
    runningInside = cycle.Running();
    callsBefore = display.Calls().size();
    cycle.Run();
    callsAfter = display.Calls().size();
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
  EXPECT_EQ(display.UpdateTimeCount(), 1);
  EXPECT_EQ(logSteps, 1);
  EXPECT_FALSE(gameServer.Peer().Receive(200).has_value());

  // Once the cycle has ended, the next tick runs a whole cycle again.
  display.onCall = nullptr;
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply}});
  cycle.Run();
  EXPECT_EQ(gameServer.Finish().size(), 1u);
  EXPECT_EQ(queryServer.Finish().size(), 1u);
  EXPECT_EQ(display.UpdateTimeCount(), 2);
}

// Against a server that limits: the tick after a refused info request
// skips the info query, and so does a tick that would leave less than the
// reserve; the players are still asked for, the last info reply that came
// being valid.
TEST_F(QueryCycleTest, PacedTicksSkipTheInfoQueryAndKeepThePlayersFresh) {
  RequestAllowance::TimePoint now{};
  RequestAllowance allowance([&] { return now; });
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
    now += tick.wait;
    cycle.Run();
    const CycleOutcome& outcome = cycle.LastOutcome();
    EXPECT_EQ(cycle.InfoSkipped(), tick.infoSkipped) << number;
    EXPECT_EQ(outcome.infoSent, !tick.infoSkipped) << number;
    EXPECT_EQ(outcome.infoAnswered, tick.infoAnswered) << number;
    EXPECT_EQ(outcome.statusQueried, tick.statusQueried) << number;
    EXPECT_TRUE(outcome.completed) << number;
  }

  EXPECT_EQ(gameServer.Finish().size(), 12u);
  EXPECT_EQ(queryServer.Finish().size(), 13u);
  EXPECT_TRUE(pacing.Paced());
  // Skipped ticks leave the info list alone and still set the time and log.
  EXPECT_EQ(std::count_if(display.Calls().begin(), display.Calls().end(),
                          [](const std::string& call) { return call.starts_with("ReplaceInfoList"); }),
            12);
  EXPECT_EQ(display.Label(7), "mapname: dm/mohdm6");
  EXPECT_EQ(display.UpdateTimeCount(), 14);
  EXPECT_EQ(logSteps, 14);
}

}  // namespace
}  // namespace kestrova::test
