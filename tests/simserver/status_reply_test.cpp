// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <regex>

#include "simserver/replies.h"
#include "support/sim_server.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

constexpr std::size_t kMaxDatagram = 1400;

TEST(SimServerStatus, ScenarioPlayersComeBackAsPairsInOrder) {
  TempDir folder;
  WriteFileBytes(folder / "three.txt",
                 "# three players\n"
                 "hostname=Scenario Server\n"
                 "map=dm/mohdm6\n"
                 "fraglimit=30\r\n"
                 "timelimit=25\n"
                 "\n"
                 "player=Big Al;12;3;48\n"
                 "player=alice;4;9;110\n"
                 "player=J\xE4ger;-1;0;7\n");
  SimServer server({"--scenario", (folder / "three.txt").string()});
  UdpPeer client;
  client.SendTo(server.QueryPort(), kStatusRequest);
  std::optional<std::string> reply = client.Receive();
  ASSERT_TRUE(reply);

  Pairs expected = {{"gamename", "mohaa"},
                    {"gamever", "1.11"},
                    {"location", "0"},
                    {"hostname", "Scenario Server"},
                    {"hostport", std::to_string(server.GamePort())},
                    {"mapname", "mohdm6"},
                    {"gametype", "Free-For-All"},
                    {"numplayers", "3"},
                    {"maxplayers", "16"},
                    {"gamemode", "openplaying"},
                    {"fraglimit", "30"},
                    {"timelimit", "25"},
                    {"player_0", "Big Al"},
                    {"frags_0", "12"},
                    {"deaths_0", "3"},
                    {"ping_0", "48"},
                    {"player_1", "alice"},
                    {"frags_1", "4"},
                    {"deaths_1", "9"},
                    {"ping_1", "110"},
                    {"player_2", "J\xE4ger"},
                    {"frags_2", "-1"},
                    {"deaths_2", "0"},
                    {"ping_2", "7"},
                    {"final", ""},
                    {"queryid", "1.1"}};
  EXPECT_EQ(SplitPairs(*reply), expected);
}

TEST(SimServerStatus, ManyPlayersAreCutIntoPartsAtPairBoundaries) {
  SimServer server({"--players", "64"});
  UdpPeer client;
  client.SendTo(server.QueryPort(), kStatusRequest);
  std::vector<std::string> parts = ReceiveAll(client);
  ASSERT_GE(parts.size(), 2u);

  const std::regex knownKey(
      "gamename|gamever|location|hostname|hostport|mapname|gametype|numplayers|maxplayers|"
      "gamemode|fraglimit|timelimit|(player|frags|deaths|ping)_[0-9]+");
  Pairs content;
  for (std::size_t part = 0; part < parts.size(); ++part) {
    SCOPED_TRACE("part " + std::to_string(part + 1));
    EXPECT_LE(parts[part].size(), kMaxDatagram);
    Pairs pairs = SplitPairs(parts[part]);
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ(pairs.back(), (std::pair<std::string, std::string>("queryid", "1." + std::to_string(part + 1))));
    pairs.pop_back();
    bool last = part + 1 == parts.size();
    ASSERT_FALSE(pairs.empty());
    EXPECT_EQ(pairs.back().first == "final", last);
    if (last) {
      pairs.pop_back();
    }
    // A pair cut in two would shift keys into value places here.
    for (const auto& [key, value] : pairs) {
      EXPECT_TRUE(std::regex_match(key, knownKey)) << key;
    }
    content.insert(content.end(), pairs.begin(), pairs.end());
  }

  ASSERT_EQ(content.size(), 12u + 64u * 4u);
  EXPECT_EQ(content[7], (std::pair<std::string, std::string>("numplayers", "64")));
  for (int n = 0; n < 64; ++n) {
    std::size_t at = 12 + static_cast<std::size_t>(n) * 4;
    EXPECT_EQ(content[at].first, "player_" + std::to_string(n));
    EXPECT_EQ(content[at + 1].first, "frags_" + std::to_string(n));
    EXPECT_EQ(content[at + 2].first, "deaths_" + std::to_string(n));
    EXPECT_EQ(content[at + 3].first, "ping_" + std::to_string(n));
  }
}

TEST(SimServerStatus, CountsItsQueries) {
  SimServer server;
  UdpPeer client;
  for (int query = 1; query <= 3; ++query) {
    client.SendTo(server.QueryPort(), kStatusRequest);
    std::optional<std::string> reply = client.Receive();
    ASSERT_TRUE(reply);
    EXPECT_TRUE(reply->ends_with("\\final\\\\queryid\\" + std::to_string(query) + ".1")) << *reply;
  }
}

TEST(SimServerStatus, PutsTheFinalMarkerBeforeOrAfterTheQueryId) {
  SimServer server({"--final=after", "--players", "64"});
  UdpPeer client;
  client.SendTo(server.QueryPort(), kStatusRequest);
  std::vector<std::string> parts = ReceiveAll(client);
  ASSERT_GE(parts.size(), 2u);
  for (std::size_t part = 0; part + 1 < parts.size(); ++part) {
    EXPECT_EQ(parts[part].find("\\final\\"), std::string::npos);
  }
  EXPECT_TRUE(parts.back().ends_with("\\queryid\\1." + std::to_string(parts.size()) + "\\final\\")) << parts.back();

  ASSERT_EQ(server.Control("players clear"), "ok");
  client.SendTo(server.QueryPort(), kStatusRequest);
  EXPECT_TRUE(client.Receive().value_or("").ends_with("\\queryid\\2.1\\final\\"));
  ASSERT_EQ(server.Control("final before"), "ok");
  client.SendTo(server.QueryPort(), kStatusRequest);
  EXPECT_TRUE(client.Receive().value_or("").ends_with("\\final\\\\queryid\\3.1"));
}

}  // namespace
}  // namespace kestrova::test
