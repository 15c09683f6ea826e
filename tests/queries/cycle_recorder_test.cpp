// A real query cycle writing through the recorder: what each cycle tells
// the change detection, and the cycle's end hook.
#include "core/cycle_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/query_cycle.h"
#include "queries/scripted_server.h"
#include "support/recording_display.h"

namespace kestrova::test {
namespace {

using std::chrono::milliseconds;

const std::string kInfoReply =
    "\xFF\xFF\xFF\xFF\x01infoResponse\n" +
    Fields({"sv_maxclients", "16", "clients", "2", "mapname", "dm/mohdm6", "hostname", "My  Server", "protocol", "8"});
const std::string kStatusReply = Fields({"fraglimit", "0", "player_0", "zed", "frags_0", "4", "k", "9", "k", "110",
                                         "player_1", "Big Al", "frags_1", "1", "k", "2", "k", "30"});

class CycleRecorderTest : public ::testing::Test {
 protected:
  CycleRecorderTest() {
    udp1.ReceiveTimeout = 2000;
    udp2.ReceiveTimeout = 2000;
    display.gamePortText = std::to_string(gameServer.Port());
    display.queryPortText = std::to_string(queryServer.Port());
    cycle.SetCycleEnd([this](bool completed) {
      completions.push_back(completed);
      results.push_back(recorder.Finish(completed, milliseconds(500 * static_cast<int>(results.size())), "here"));
    });
  }

  ScriptedServer gameServer;
  ScriptedServer queryServer;
  DatagramClient udp1;
  DatagramClient udp2;
  RecordingDisplay display;
  CycleRecorder recorder{display};
  FixedClock clock{LocalTime{2024, 3, 1, 14, 5, 9}};
  QueryCycle cycle{{udp1, udp2, display, recorder, display, clock, TimeFormat{}}};
  std::vector<CycleResult> results;
  std::vector<bool> completions;
};

TEST_F(CycleRecorderTest, AFullCycleTellsEverything) {
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply}});

  cycle.Run();

  gameServer.Finish();
  queryServer.Finish();
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
  EXPECT_EQ(result.players, (std::vector<std::string>{"zed", "Big Al"}));
  // Everything still reached the display.
  EXPECT_EQ(display.Label(8), "hostname:  My Server");
  EXPECT_EQ(display.Rows().size(), 2u);
  EXPECT_EQ(display.UpdateTime(), "14:05:09");
}

TEST_F(CycleRecorderTest, APlayerListCutShortIsNoList) {
  // The last player lacks its ping: the cycle fails after the rows were added.
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply.substr(0, kStatusReply.rfind("\\k"))}});

  cycle.Run();

  gameServer.Finish();
  queryServer.Finish();
  EXPECT_EQ(completions, std::vector<bool>{false});
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(display.UpdateTimeCount(), 0);
  EXPECT_TRUE(results[0].statusAnswered);
  EXPECT_EQ(results[0].map, "dm/mohdm6");
  EXPECT_EQ(results[0].players, std::nullopt);
}

TEST_F(CycleRecorderTest, TheEndHookRunsForACycleThatFailsAndNotForAnIgnoredOne) {
  display.gamePortText = "port";
  cycle.Run();
  // A tick that comes while a cycle runs is ignored and ends no cycle.
  display.gamePortText = std::to_string(gameServer.Port());
  bool nested = false;
  display.onCall = [&](const std::string& entry) {
    if (entry == "SetHint" && !nested) {
      nested = true;
      cycle.Run();
    }
  };
  gameServer.Start({{kInfoReply}});
  queryServer.Start({{kStatusReply}});
  cycle.Run();

  gameServer.Finish();
  queryServer.Finish();
  EXPECT_EQ(cycle.IgnoredRuns(), 1);
  EXPECT_EQ(completions, (std::vector<bool>{false, true}));
  EXPECT_FALSE(results[0].infoAnswered);
}

TEST(CycleRecorder, ACycleThatEndsWellWithoutAskingForInfoSkippedIt) {
  RecordingDisplay display;
  CycleRecorder recorder(display);
  const struct {
    bool listReplaced;
    bool completed;
    bool skipped;
  } cases[] = {{false, true, true}, {true, true, false}, {false, false, false}, {true, false, false}};
  for (const auto& c : cases) {
    if (c.listReplaced) {
      recorder.ReplaceInfoList({});
    }
    EXPECT_EQ(recorder.Finish(c.completed, milliseconds(0), "").infoSkipped, c.skipped)
        << c.listReplaced << c.completed;
  }
}

}  // namespace
}  // namespace kestrova::test
