// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "simserver/replies.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

TEST(SimServerInfo, AnswersWithEveryKeyInOrderAndEchoesTheChallenge) {
  SimServer server({"--hostname", "My Test Server", "--map", "dm/mohdm3", "--players", "3", "--maxclients", "20",
                    "--gametype", "2", "--maxping", "150"});
  UdpPeer client;
  client.SendTo(server.GamePort(), InfoRequest("xxx"));

  EXPECT_EQ(client.Receive(),
            "\xFF\xFF\xFF\xFF\x01infoResponse\n"
            "\\gamever\\1.11\\maxPing\\150\\pure\\1\\gametypestring\\Team-Match\\gametype\\2"
            "\\sv_maxclients\\20\\clients\\3\\mapname\\dm/mohdm3\\hostname\\My Test Server\\protocol\\8"
            "\\challenge\\xxx");
}

TEST(SimServerInfo, EchoesWhateverChallengeIsSent) {
  SimServer server;
  UdpPeer client;
  client.SendTo(server.GamePort(), InfoRequest("4711"));
  std::optional<std::string> reply = client.Receive();
  ASSERT_TRUE(reply);
  EXPECT_TRUE(reply->ends_with("\\protocol\\8\\challenge\\4711")) << *reply;
  EXPECT_EQ(client.LastSenderPort(), server.GamePort());
}

}  // namespace
}  // namespace kestrova::test
