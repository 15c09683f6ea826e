// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/datagram_client.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>

#include "core/socket_error.h"
#include "support/udp_peer.h"

namespace kestrova {
namespace {

using namespace std::string_literals;
using test::UdpPeer;

class DatagramClientTest : public ::testing::Test {
 protected:
  DatagramClientTest() {
    client.Host = "127.0.0.1";
    client.Port = server.Port();
    client.ReceiveTimeout = 300;
  }

  // Sends `request` and has the server take it, so the server can answer.
  void Ask(const std::string& request) {
    client.Send(request);
    ASSERT_EQ(server.Receive(), request);
  }

  UdpPeer server;
  DatagramClient client;
};

TEST_F(DatagramClientTest, TimeOutGivesEmptyTextAndTheClientStaysUsable) {
  Ask("getinfo xxx");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(client.ReceiveText(-1), "");
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(290));
  EXPECT_LT(waited, std::chrono::seconds(10));

  Ask("again");
  server.Reply("answer");
  EXPECT_EQ(client.ReceiveText(-1), "answer");
}

TEST_F(DatagramClientTest, LateReplyIsReadByTheNextReceive) {
  Ask("first");
  EXPECT_EQ(client.ReceiveText(-1), "");
  server.Reply("answer to first");
  Ask("second");
  server.Reply("answer to second");
  EXPECT_EQ(client.ReceiveText(-1), "answer to first");
  EXPECT_EQ(client.ReceiveText(-1), "answer to second");
}

TEST_F(DatagramClientTest, DatagramFromAnotherSenderIsAccepted) {
  Ask("hello");
  UdpPeer stranger;
  stranger.SendTo(client.LocalPort(), "not from the server");
  EXPECT_EQ(client.ReceiveText(-1), "not from the server");
}

TEST_F(DatagramClientTest, OnlyTheLow16BitsOfThePortCount) {
  client.Port = server.Port() + 65536;
  client.Send("wrapped");
  EXPECT_EQ(server.Receive(), "wrapped");

  std::optional<UdpPeer> top;
  try {
    top.emplace(65535);
  } catch (const std::runtime_error&) {
    GTEST_SKIP() << "port 65535 is taken";
  }
  client.Port = -1;
  client.Send("to the top");
  EXPECT_EQ(top->Receive(), "to the top");
}

TEST_F(DatagramClientTest, LongestDatagramIsBufferSizeAndALongerOneIsDropped) {
  Ask("big?");
  const std::string fits(8192, 'a');
  server.Reply(fits);
  EXPECT_EQ(client.ReceiveText(-1), fits);

  server.Reply(std::string(8193, 'b'));
  server.Reply("after");
  try {
    client.ReceiveText(-1);
    FAIL() << "an oversized datagram was accepted";
  } catch (const SocketError& error) {
    EXPECT_EQ(error.Code(), 10040);
    EXPECT_STREQ(error.what(), "Socket Error # 10040\r\nMessage too long.");
  }
  EXPECT_EQ(client.ReceiveText(-1), "after");
}

TEST_F(DatagramClientTest, BytesTravelUnchanged) {
  const std::string request = "\xFF\xFF\xFF\xFF\x02rcon\0x\n"s;
  Ask(request);
  const std::string reply = "\xFF\xFF\xFF\xFFprint\nab\0cd\0\x80\xFF"s;
  server.Reply(reply);
  EXPECT_EQ(client.ReceiveText(-1), reply);
}

TEST_F(DatagramClientTest, ZeroByteDatagramsBothWays) {
  Ask("");  // sending the empty text sends a datagram of zero bytes

  server.Reply("");
  server.Reply("next");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(client.ReceiveText(10000), "");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));  // not a time-out
  EXPECT_EQ(client.ReceiveText(-1), "next");

  server.Reply("");
  EXPECT_EQ(client.ReceiveQuietly(2000), std::optional<std::string>(""));
  EXPECT_EQ(client.ReceiveQuietly(50), std::nullopt);
}

TEST_F(DatagramClientTest, EverySendLeavesFromTheSameLocalPort) {
  EXPECT_EQ(client.LocalPort(), 0);
  Ask("one");
  const int port = server.LastSenderPort();
  EXPECT_EQ(client.LocalPort(), port);
  Ask("two");
  EXPECT_EQ(server.LastSenderPort(), port);
}

TEST_F(DatagramClientTest, RepliesReachOnlyTheClientTheyAreSentTo) {
  DatagramClient other;
  other.Host = "127.0.0.1";
  other.Port = server.Port();
  other.Send("other");
  ASSERT_EQ(server.Receive(), "other");
  const int otherPort = server.LastSenderPort();
  Ask("mine");
  const int myPort = server.LastSenderPort();
  ASSERT_NE(myPort, otherPort);

  server.SendTo(otherPort, "for other");
  EXPECT_EQ(client.ReceiveText(200), "");
  server.SendTo(myPort, "for me");
  EXPECT_EQ(client.ReceiveText(-1), "for me");
  EXPECT_EQ(other.ReceiveText(1000), "for other");
}

TEST_F(DatagramClientTest, UnusableDestinationRaisesCannotAssignAndChangesNothing) {
  const std::string hosts[] = {"0.0.0.0", "localhost", "127.0.0", "", "127.0.0.1\0"s};
  for (const std::string& host : hosts) {
    SCOPED_TRACE("host '" + host + "'");
    client.Host = host;
    try {
      client.Send("x");
      FAIL() << "no error raised";
    } catch (const SocketError& error) {
      EXPECT_EQ(error.Code(), 10049);
      EXPECT_STREQ(error.what(), "Socket Error # 10049\r\nCannot assign requested address.");
    }
  }
  client.Host = "127.0.0.1";
  client.Port = 0;
  EXPECT_THROW(client.Send("x"), SocketError);

  client.Port = server.Port();
  Ask("still works");
  EXPECT_EQ(server.Receive(100), std::nullopt);  // nothing stray went out
}

}  // namespace
}  // namespace kestrova
