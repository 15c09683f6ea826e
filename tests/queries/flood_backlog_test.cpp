// SPDX-License-Identifier: GPL-3.0-or-later
// A flood's backlog against a reply that merely came late: the one is
// dropped before the next request, the other still read by it.
#include "core/flood_backlog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/info_query.h"
#include "queries/scripted_server.h"
#include "support/query_window.h"

namespace kestrova::test {
namespace {

std::string InfoReply(const std::string& map) {
  return "\xFF\xFF\xFF\xFF\x01infoResponse\n" + Fields({"mapname", map, "hostname", "h", "protocol", "8"});
}

class FloodBacklogTest : public ::testing::Test {
 protected:
  FloodBacklogTest() {
    udp1.ReceiveTimeout = 300;
    endpoint.gamePortText = std::to_string(server.Port());
  }

  // One info query that the server answers with the reply for `map`
  // (nothing: silence); the map label it leaves.
  std::string AskAnsweredWith(const std::optional<std::string>& map) {
    server.Start({map ? ScriptedServer::Turn{InfoReply(*map)} : ScriptedServer::Turn{}});
    QueryInfo(udp1, endpoint, shown);
    server.Finish();
    return shown.Label(ShownLabel::MapName);
  }

  // More datagrams than the client's queue holds, from another sender.
  void Flood(int count) {
    UdpPeer flooder;
    for (int i = 0; i < count; ++i) {
      flooder.SendTo(udp1.LocalPort(), "\xFF\xFF\xFF\xFF\x01infoResponse\n\\mapname\\flood");
    }
  }

  ScriptedServer server;
  DatagramClient udp1;
  TestEndpoint endpoint;
  DisplayModel shown;
};

TEST_F(FloodBacklogTest, AReplyThatCameLateIsStillReadByTheNextRequest) {
  AskAnsweredWith(std::nullopt);
  server.Peer().Reply(InfoReply("late"));
  EXPECT_EQ(AskAnsweredWith("fresh"), "mapname: late");
  EXPECT_EQ(udp1.DroppedDatagrams(), 0u);
}

TEST_F(FloodBacklogTest, AFloodsBacklogIsDroppedBeforeTheNextRequest) {
  AskAnsweredWith("first");
  Flood(5000);
  ASSERT_GT(udp1.DroppedDatagrams(), 0u);
  EXPECT_EQ(AskAnsweredWith("fresh"), "mapname: fresh");
}

// A flood that stops right after one request's drain leaves a backlog
// that overflows nothing more: the next request drops it all the same.
// Once a request has passed without new drops, late replies count again.
TEST_F(FloodBacklogTest, WhatTheFloodLeftAfterADrainGoesTooThenLateRepliesCountAgain) {
  AskAnsweredWith("first");
  Flood(5000);
  EXPECT_EQ(AskAnsweredWith("second"), "mapname: second");
  Flood(20);
  EXPECT_EQ(AskAnsweredWith("third"), "mapname: third");

  AskAnsweredWith(std::nullopt);
  server.Peer().Reply(InfoReply("late"));
  EXPECT_EQ(AskAnsweredWith("fresh"), "mapname: late");
}

TEST(DropFloodBacklog, ThrowsAwayEmptyAndOverlongDatagramsAlike) {
  UdpPeer flooder;
  DatagramClient client;
  client.Host = "127.0.0.1";
  client.Port = flooder.Port();
  client.Send("x");  // binds the client's port
  for (int i = 0; i < 5000; ++i) {
    flooder.SendTo(client.LocalPort(), i % 2 == 0 ? std::string() : std::string(9000, 'x'));
  }
  const int drained = DropFloodBacklog(client);
  EXPECT_GT(drained, 0);
  EXPECT_LE(drained, kMostDrainedDatagrams);
  EXPECT_FALSE(client.ReceiveQuietly(0).has_value());
}

}  // namespace
}  // namespace kestrova::test
