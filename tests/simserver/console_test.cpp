// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "simserver/replies.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr std::size_t kMaxDatagram = 1400;
constexpr std::size_t kPrintPayload = 1000;

std::vector<std::string> ConsoleServerOptions() { return {"--map", "dm/mohdm1", "--password", "pw"}; }

class SimServerConsole : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(server_.Control("player add Big Al;12;3;48"), "ok");
    ASSERT_EQ(server_.Control("player add bob;4;9;110"), "ok");
  }

  std::vector<std::string> Rcon(const std::string& command) {
    client_.SendTo(server_.GamePort(), RconRequest(command, "pw"));
    return ReceiveAll(client_);
  }
  std::vector<std::string> Lines(const std::string& command) { return PrintedLines(Rcon(command)); }

  std::string StatusReply() {
    client_.SendTo(server_.QueryPort(), kStatusRequest);
    return client_.Receive().value_or("<no reply>");
  }

  SimServer server_{ConsoleServerOptions()};
  UdpPeer client_;
};

TEST_F(SimServerConsole, WrongPasswordIsRefused) {
  client_.SendTo(server_.GamePort(), RconRequest("status", "guess"));
  EXPECT_THAT(ReceiveAll(client_), ElementsAre("\xFF\xFF\xFF\xFF\x01print\nBad rconpassword.\n"));
}

TEST_F(SimServerConsole, StatusPrintsATableOfThePlayers) {
  std::vector<std::string> lines = Lines("status");
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "map: dm/mohdm1");
  EXPECT_EQ(lines[1], "num score ping name            lastmsg address               qport rate");
  EXPECT_EQ(lines[2].find_first_not_of("- "), std::string::npos);
  EXPECT_THAT(lines[3], ::testing::MatchesRegex(R"( +0 +12 +48 Big Al +0 127\.0\.0\.1:[0-9]+ +[0-9]+ +[0-9]+)"));
  EXPECT_THAT(lines[4], ::testing::MatchesRegex(R"( +1 +4 +110 bob +0 127\.0\.0\.1:[0-9]+ +[0-9]+ +[0-9]+)"));
}

TEST_F(SimServerConsole, KickTakesTheNameAsTheClientSendsIt) {
  // The client lists every name after one blank and sends it so.
  EXPECT_THAT(Lines("kick  Big Al"), ElementsAre("Big Al was kicked"));
  EXPECT_THAT(StatusReply(), Not(HasSubstr("Big Al")));
  EXPECT_THAT(StatusReply(), HasSubstr("\\numplayers\\1\\"));

  EXPECT_THAT(Lines("kick bob"), ElementsAre("bob was kicked"));
  EXPECT_THAT(Lines("kick bob"), ElementsAre("Client bob is not on the server"));
  EXPECT_THAT(StatusReply(), HasSubstr("\\numplayers\\0\\"));
}

TEST_F(SimServerConsole, ClientKickTakesASlot) {
  EXPECT_THAT(Lines("clientkick 1"), ElementsAre("bob was kicked"));
  EXPECT_THAT(Lines("clientkick 1"), ElementsAre("Bad client slot: 1"));
  EXPECT_THAT(StatusReply(), HasSubstr("\\player_0\\Big Al\\"));
  EXPECT_THAT(StatusReply(), Not(HasSubstr("bob")));
}

TEST_F(SimServerConsole, MapChangePrintsNothingAndShowsInBothQueries) {
  EXPECT_THAT(Rcon("map dm/mohdm2"), ElementsAre(kPrintHeader));
  client_.SendTo(server_.GamePort(), InfoRequest());
  EXPECT_THAT(client_.Receive().value_or(""), HasSubstr("\\mapname\\dm/mohdm2\\"));
  EXPECT_THAT(StatusReply(), HasSubstr("\\mapname\\mohdm2\\"));
}

TEST_F(SimServerConsole, EveryCommandAnswersInPrintLines) {
  struct Case {
    std::string command;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"say hello  world", {"console: hello  world"}}, {"frob now", {"Unknown command: frob"}}, {"", {}},
      {"kick", {"Usage: kick <player name>"}},         {"map", {"Usage: map <mapname>"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Lines(c.command), c.lines) << c.command;
  }
  EXPECT_THAT(Lines("serverinfo"), ::testing::Contains("sv_hostname         Kestrova Test Server"));
}

TEST_F(SimServerConsole, UnknownMapIsRefusedAndTheMapStays) {
  EXPECT_THAT(Lines("map dm/nowhere"), ElementsAre("Can't find map maps/dm/nowhere.bsp"));
  EXPECT_THAT(StatusReply(), HasSubstr("\\mapname\\mohdm1\\"));
  EXPECT_THAT(Rcon("map obj/obj_team2"), ElementsAre(kPrintHeader));
  EXPECT_THAT(StatusReply(), HasSubstr("\\mapname\\obj_team2\\"));
}

TEST_F(SimServerConsole, LinesModeCutsLongOutputBetweenLines) {
  ASSERT_EQ(server_.Control("printcut lines"), "ok");
  std::vector<std::string> datagrams = Rcon("cmdlist");
  ASSERT_GE(datagrams.size(), 2u);
  for (const std::string& datagram : datagrams) {
    EXPECT_TRUE(datagram.starts_with(kPrintHeader));
    EXPECT_LE(datagram.size(), kMaxDatagram);
    EXPECT_TRUE(datagram.ends_with("\n"));
  }
  std::vector<std::string> lines = PrintedLines(datagrams);
  ASSERT_GE(lines.size(), 200u);
  EXPECT_EQ(lines.back(), std::to_string(lines.size() - 1) + " commands");
  EXPECT_THAT(lines, ::testing::Contains("status"));
  EXPECT_THAT(lines, ::testing::Contains("kick"));
}

// Real servers fill each datagram with 1000 bytes of text wherever the
// cut falls, so the end of one datagram and the start of the next can
// belong to one line.
TEST_F(SimServerConsole, CutsLongOutputAnywhereAsRealServersDo) {
  ASSERT_EQ(server_.Control("printcut lines"), "ok");
  const std::vector<std::string> wholeLines = PrintedLines(Rcon("cmdlist"));
  ASSERT_EQ(server_.Control("printcut anywhere"), "ok");

  std::vector<std::string> datagrams = Rcon("cmdlist");
  ASSERT_GE(datagrams.size(), 3u);
  int cutInsideALine = 0;
  for (std::size_t i = 0; i < datagrams.size(); ++i) {
    ASSERT_TRUE(datagrams[i].starts_with(kPrintHeader));
    const std::size_t payload = datagrams[i].size() - kPrintHeader.size();
    EXPECT_EQ(payload == kPrintPayload, i + 1 < datagrams.size()) << i;
    cutInsideALine += datagrams[i].ends_with("\n") ? 0 : 1;
  }
  EXPECT_GT(cutInsideALine, 0);
  EXPECT_EQ(PrintedLines(datagrams), wholeLines);

  const std::string longText(3000, 'x');
  datagrams = Rcon("say " + longText);
  EXPECT_EQ(datagrams.size(), 4u);
  EXPECT_THAT(PrintedLines(datagrams), ElementsAre("console: " + longText));
}

}  // namespace
}  // namespace kestrova::test
