// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "simserver/replies.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

using Clock = std::chrono::steady_clock;
using ::testing::ElementsAre;
using ::testing::SizeIs;

const std::string kInfoReplyStart = "\xFF\xFF\xFF\xFF\x01infoResponse\n";

class SimServerMisbehaviour : public ::testing::Test {
 protected:
  std::vector<std::string> Ask(int port, const std::string& request, int firstMs = 3000) {
    client_.SendTo(port, request);
    return ReceiveAll(client_, firstMs);
  }
  std::vector<std::string> Info() { return Ask(server_.GamePort(), InfoRequest()); }
  std::vector<std::string> Status() { return Ask(server_.QueryPort(), kStatusRequest); }
  std::vector<std::string> Rcon() { return Ask(server_.GamePort(), RconRequest("say hi")); }

  SimServer server_{{"--players", "2"}};
  UdpPeer client_;
};

TEST_F(SimServerMisbehaviour, SilentChannelGetsNoAnswerWhileOthersDo) {
  ASSERT_EQ(server_.Control("silent status on"), "ok");
  EXPECT_THAT(Ask(server_.QueryPort(), kStatusRequest, 500), ::testing::IsEmpty());
  EXPECT_THAT(Info(), SizeIs(1));
  EXPECT_THAT(Rcon(), SizeIs(1));

  ASSERT_EQ(server_.Control("silent status off"), "ok");
  EXPECT_THAT(Status(), SizeIs(1));
}

TEST_F(SimServerMisbehaviour, DelayedReplyComesLateWithoutHoldingOthersUp) {
  ASSERT_EQ(server_.Control("delay info 1000"), "ok");
  Clock::time_point sent = Clock::now();
  client_.SendTo(server_.GamePort(), InfoRequest());
  client_.SendTo(server_.GamePort(), RconRequest("say quick"));

  std::optional<std::string> first = client_.Receive(5000);
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, kPrintHeader + "console: quick\n");
  std::optional<std::string> second = client_.Receive(5000);
  Clock::duration waited = Clock::now() - sent;
  ASSERT_TRUE(second);
  EXPECT_TRUE(second->starts_with(kInfoReplyStart));
  EXPECT_GE(waited, std::chrono::milliseconds(1000));
}

TEST_F(SimServerMisbehaviour, GarbageReplacesTheReply) {
  ASSERT_EQ(server_.Control("garbage info on"), "ok");
  std::vector<std::string> replies = Info();
  ASSERT_THAT(replies, SizeIs(1));
  EXPECT_FALSE(replies[0].starts_with(kInfoReplyStart));
  EXPECT_FALSE(replies[0].empty());
}

TEST_F(SimServerMisbehaviour, OversizeSendsOneDatagramOf9000Bytes) {
  ASSERT_EQ(server_.Control("oversize all on"), "ok");
  std::vector<std::string> replies = Status();
  ASSERT_THAT(replies, SizeIs(1));
  EXPECT_EQ(replies[0].size(), 9000u);
  EXPECT_TRUE(replies[0].starts_with("\\gamename\\"));

  replies = Rcon();
  ASSERT_THAT(replies, SizeIs(1));
  EXPECT_EQ(replies[0].size(), 9000u);
  EXPECT_TRUE(replies[0].starts_with(kPrintHeader + "console: hi\n"));
}

TEST_F(SimServerMisbehaviour, DuplicateSendsEveryDatagramTwice) {
  ASSERT_EQ(server_.Control("duplicate rcon on"), "ok");
  std::string once = kPrintHeader + "console: hi\n";
  EXPECT_THAT(Rcon(), ElementsAre(once, once));
  EXPECT_THAT(Info(), SizeIs(1));
}

// The part numbers of status reply datagrams, in arrival order.
std::vector<int> PartNumbers(const std::vector<std::string>& datagrams) {
  std::vector<int> numbers;
  for (const std::string& datagram : datagrams) {
    const std::size_t dot = datagram.rfind('.');
    numbers.push_back(dot == std::string::npos ? 0 : std::atoi(datagram.c_str() + dot + 1));
  }
  return numbers;
}

TEST(SimServerParts, ReorderSendsTheDatagramsOfALongReplyLastFirst) {
  SimServer server({"--players", "64", "--password", "secret"});
  UdpPeer client;
  const auto ask = [&](int port, const std::string& request) {
    client.SendTo(port, request);
    return ReceiveAll(client);
  };
  const std::vector<std::string> listing = ask(server.GamePort(), RconRequest("cmdlist"));
  const std::vector<std::string> parts = ask(server.QueryPort(), kStatusRequest);
  ASSERT_GE(listing.size(), 2u);
  ASSERT_GE(parts.size(), 3u);

  ASSERT_EQ(server.Control("reorder all on"), "ok");
  EXPECT_EQ(ask(server.GamePort(), RconRequest("cmdlist")), std::vector<std::string>(listing.rbegin(), listing.rend()));
  std::vector<int> numbers = PartNumbers(ask(server.QueryPort(), kStatusRequest));
  EXPECT_EQ(numbers.size(), parts.size());
  EXPECT_TRUE(std::is_sorted(numbers.rbegin(), numbers.rend()));
  // A reply of one datagram has nothing to reorder.
  EXPECT_THAT(ask(server.GamePort(), RconRequest("say hi")), ElementsAre(kPrintHeader + "console: hi\n"));
}

TEST(SimServerParts, DropPartLeavesOneDatagramOfALongReplyOut) {
  SimServer server({"--players", "64", "--drop-part=status:2"});
  UdpPeer client;
  client.SendTo(server.QueryPort(), kStatusRequest);
  std::vector<int> numbers = PartNumbers(ReceiveAll(client));
  ASSERT_GE(numbers.size(), 2u);
  EXPECT_EQ(numbers[0], 1);
  EXPECT_EQ(numbers[1], 3);

  ASSERT_EQ(server.Control("droppart status 0"), "ok");
  ASSERT_EQ(server.Control("droppart rcon 1"), "ok");
  client.SendTo(server.QueryPort(), kStatusRequest);
  numbers = PartNumbers(ReceiveAll(client));
  EXPECT_EQ(numbers[1], 2);
  // A reply of one datagram is never dropped.
  client.SendTo(server.GamePort(), RconRequest("say hi"));
  EXPECT_THAT(ReceiveAll(client), SizeIs(1));
}

// The losses of a network between the server and its clients: each reply
// datagram on either port is lost by chance; a seed repeats the losses.
TEST(SimServerLoss, LosesItsShareOfReplyDatagramsOnBothPortsRepeatably) {
  // 20 info replies, then 20 status replies of three datagrams (64
  // players), one port after the other so the draws fall the same way each
  // time: what came, and the server's count of what it lost.
  const auto run = [](SimServer& server) {
    UdpPeer client;
    std::string came;
    for (const auto& [port, request] : {std::pair(server.GamePort(), InfoRequest()),
                                        std::pair(server.QueryPort(), kStatusRequest)}) {
      for (int i = 0; i < 20; ++i) {
        client.SendTo(port, request);
      }
      came += std::to_string(ReceiveAll(client, 2000, 300).size()) + " ";
    }
    const std::string tally = server.Control("requests");
    return came + tally.substr(tally.find("lost "));
  };
  SimServer first({"--players", "64", "--loss=30:7"});
  SimServer second({"--players", "64", "--loss", "30:7"});

  const std::string lossy = run(first);
  int info = 0, status = 0, infoLost = 0, statusLost = 0;
  ASSERT_EQ(std::sscanf(lossy.c_str(), "%d %d lost info %d status %d rcon 0", &info, &status, &infoLost, &statusLost), 4)
      << lossy;
  EXPECT_EQ(info + infoLost, 20);
  EXPECT_EQ(status + statusLost, 60);
  EXPECT_GT(infoLost * statusLost, 0);
  EXPECT_EQ(run(second), lossy);
  ASSERT_EQ(first.Control("loss 0"), "ok");
  EXPECT_EQ(run(first), "20 60 " + lossy.substr(lossy.find("lost ")));
}

TEST_F(SimServerMisbehaviour, RateLimitAnswersTenThenFallsSilent) {
  EXPECT_THAT(Info(), SizeIs(1));
  ASSERT_EQ(server_.Control("ratelimit on"), "ok");
  for (int i = 0; i < 14; ++i) {
    client_.SendTo(server_.GamePort(), InfoRequest(std::to_string(i)));
  }
  std::vector<std::string> replies = ReceiveAll(client_, 3000, 300);
  ASSERT_THAT(replies, SizeIs(10));
  EXPECT_TRUE(replies.back().ends_with("\\challenge\\9"));
  // The query port keeps no budget.
  EXPECT_THAT(Status(), SizeIs(1));

  ASSERT_EQ(server_.Control("ratelimit off"), "ok");
  EXPECT_THAT(Info(), SizeIs(1));
}

// As real servers count it: by the sender's address whatever its source
// port, info and console requests from one budget, anything else nothing.
TEST(SimServerRateLimit, OneBudgetPerAddressForInfoAndConsoleAcrossSourcePorts) {
  SimServer server({"--players", "2", "--ratelimit"});
  UdpPeer first;
  UdpPeer second;
  for (int i = 0; i < 3; ++i) {
    first.SendTo(server.GamePort(), "\xFF\xFF\xFF\xFFnot a request");
  }
  for (int i = 0; i < 6; ++i) {
    first.SendTo(server.GamePort(), InfoRequest(std::to_string(i)));
  }
  for (int i = 0; i < 4; ++i) {
    second.SendTo(server.GamePort(), RconRequest("say " + std::to_string(i)));
  }
  second.SendTo(server.GamePort(), InfoRequest("late"));
  first.SendTo(server.GamePort(), RconRequest("say late"));

  EXPECT_THAT(ReceiveAll(first, 3000, 300), SizeIs(6));
  EXPECT_THAT(ReceiveAll(second, 3000, 300), SizeIs(4));
  second.SendTo(server.QueryPort(), kStatusRequest);
  EXPECT_THAT(ReceiveAll(second), SizeIs(1));
  EXPECT_EQ(server.Control("requests"), "ok info 7 1 rcon 5 1 status 1 lost info 0 status 0 rcon 0");

  // The budget refills at one a second; here on a clock the test moves.
  ASSERT_EQ(server.Control("ratelimit pass 0"), "ok");
  ASSERT_EQ(server.Control("ratelimit pass 1000"), "ok");
  for (const char* command : {"say again", "say once more"}) {
    second.SendTo(server.GamePort(), RconRequest(command));
  }
  EXPECT_THAT(ReceiveAll(second, 3000, 300), SizeIs(1));
}

TEST_F(SimServerMisbehaviour, NormalSwitchesEveryFaultOff) {
  ASSERT_EQ(server_.Control("silent all on"), "ok");
  ASSERT_EQ(server_.Control("duplicate info on"), "ok");
  EXPECT_THAT(Ask(server_.GamePort(), InfoRequest(), 500), ::testing::IsEmpty());
  ASSERT_EQ(server_.Control("normal"), "ok");
  EXPECT_THAT(Info(), SizeIs(1));
  EXPECT_THAT(Status(), SizeIs(1));
  EXPECT_THAT(Rcon(), SizeIs(1));
}

TEST(SimServerControl, RefusesLinesItCannotUseAndChangesNothing) {
  SimServer server({"--players", "1"});
  for (const char* line :
       {"", "bogus", "silent", "silent loud on", "silent info maybe", "delay info soon", "ratelimit sometimes",
        "ratelimit pass soon", "requests now", "player add nobody", "player add x;1;2", "players count", "fraglimit many",
        "player remove Nobody", "printcut sometimes", "final middle", "droppart status x", "reorder status on now",
        "player add back\\slash;1;2;3", "droppart status 2:0", "loss 100.001", "loss 1e1", "loss 5:", "loss .5",
        "loss 1 2"}) {
    EXPECT_TRUE(server.Control(line).starts_with("error: ")) << '"' << line << '"';
  }
  UdpPeer client;
  client.SendTo(server.QueryPort(), kStatusRequest);
  const std::string status = client.Receive().value_or("");
  EXPECT_NE(status.find("\\numplayers\\1\\"), std::string::npos) << status;
  client.SendTo(server.GamePort(), InfoRequest());
  EXPECT_THAT(ReceiveAll(client), SizeIs(1));
}

TEST(SimServerControl, SaysWhenALineHasWordsItDoesNotTake) {
  SimServer server;
  EXPECT_EQ(server.Control("quit now"), "error: quit takes no arguments");
  EXPECT_EQ(server.Control("normal please"), "error: normal takes no arguments");
  EXPECT_EQ(server.Control("players clear all"), "error: players clear takes no arguments");
  EXPECT_EQ(server.Control("static on off"), "error: static takes nothing after 'on'");
  // Still serving: the quit was refused.
  UdpPeer client;
  client.SendTo(server.GamePort(), InfoRequest());
  EXPECT_THAT(ReceiveAll(client), SizeIs(1));
}

// Each misbehaviour can also be asked for when the server starts.
struct StartOption {
  std::vector<std::string> options;
  int checkedReplies;
  bool (*check)(const std::string&);
};

class SimServerFaultOptions : public ::testing::TestWithParam<StartOption> {};

TEST_P(SimServerFaultOptions, TakeEffectFromTheStart) {
  SimServer server(GetParam().options);
  UdpPeer client;
  client.SendTo(server.GamePort(), InfoRequest());
  std::vector<std::string> replies = ReceiveAll(client, GetParam().checkedReplies == 0 ? 500 : 3000);
  ASSERT_EQ(static_cast<int>(replies.size()), GetParam().checkedReplies);
  for (const std::string& reply : replies) {
    EXPECT_TRUE(GetParam().check(reply));
  }
}

bool IsInfoReply(const std::string& reply) { return reply.starts_with(kInfoReplyStart); }
bool IsNotInfoReply(const std::string& reply) { return !IsInfoReply(reply); }
bool IsOversize(const std::string& reply) { return reply.size() == 9000 && IsInfoReply(reply); }

INSTANTIATE_TEST_SUITE_P(Options, SimServerFaultOptions,
                         ::testing::Values(StartOption{{"--silent=info"}, 0, IsInfoReply},
                                           StartOption{{"--silent=status"}, 1, IsInfoReply},
                                           StartOption{{"--delay=info:200"}, 1, IsInfoReply},
                                           StartOption{{"--garbage=info"}, 1, IsNotInfoReply},
                                           StartOption{{"--oversize=all"}, 1, IsOversize},
                                           StartOption{{"--duplicate=info"}, 2, IsInfoReply},
                                           // Replies of one datagram are neither reordered nor cut short.
                                           StartOption{{"--reorder=info"}, 1, IsInfoReply},
                                           StartOption{{"--drop-part=info:1"}, 1, IsInfoReply}));

}  // namespace
}  // namespace kestrova::test
