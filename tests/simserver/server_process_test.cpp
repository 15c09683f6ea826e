// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <fstream>
#include <thread>

#include "simserver/replies.h"
#include "support/child_program.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

using ::testing::SizeIs;

// The state letter of a process in /proc: Z once it has ended unreaped.
char ProcessState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  std::size_t close = line.rfind(')');
  return close == std::string::npos || close + 2 >= line.size() ? '?' : line[close + 2];
}

TEST(SimServerProcess, ListensOnTheGamePortAskedFor) {
  int port = FreeUdpPort();
  SimServer server({"--game-port", std::to_string(port)});
  EXPECT_EQ(server.GamePort(), port);
  EXPECT_NE(server.QueryPort(), port);
}

TEST(SimServerProcess, BadOptionsFailTheStart) {
  EXPECT_THROW(SimServer({"--delay=info"}), std::runtime_error);
  EXPECT_THROW(SimServer({"--frobnicate"}), std::runtime_error);
  EXPECT_THROW(SimServer({"--scenario", "/nonexistent/scenario.txt"}), std::runtime_error);
}

TEST(SimServerProcess, KeepsServingAfterItsInputEnds) {
  SimServer server;
  server.CloseControlInput();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  UdpPeer client;
  client.SendTo(server.GamePort(), InfoRequest());
  EXPECT_THAT(ReceiveAll(client), SizeIs(1));
}

TEST(SimServerProcess, QuitEndsTheProcessAndTheLauncherReapsIt) {
  pid_t pid;
  {
    SimServer server;
    pid = server.Pid();
    EXPECT_EQ(server.Control("quit"), "ok");
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ProcessState(pid) != 'Z' && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(ProcessState(pid), 'Z');
  }
  EXPECT_EQ(::kill(pid, 0), -1);
  EXPECT_EQ(errno, ESRCH);
}

// Input that never runs dry, and never ends a line, must neither keep a
// stop signal out nor fill the memory.
TEST(SimServerProcess, StopsOnSigtermWhileItsInputNeverRunsDry) {
  ChildProgram server(KESTROVA_SIMSERVER_PATH, {"--game-port", "0", "--query-port", "0"}, {}, "/dev/zero");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (server.Out().find("error: control line longer") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_NE(server.Out().find("error: control line longer"), std::string::npos) << server.Out();
  std::ifstream status("/proc/" + std::to_string(server.Pid()) + "/status");
  long residentKb = -1;
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) {
      residentKb = std::stol(line.substr(6));
    }
  }
  EXPECT_GT(residentKb, 0);
  EXPECT_LT(residentKb, 32 * 1024);

  ASSERT_EQ(::kill(server.Pid(), SIGTERM), 0);
  EXPECT_EQ(server.WaitForExit(std::chrono::seconds(5)), 0);
}

TEST(SimServerProcess, SurvivesAnyBytes) {
  SimServer server;
  UdpPeer client;
  const std::vector<std::string> junk = {
      "",
      "\xFF\xFF\xFF\xFF",
      "\xFF\xFF\xFF\xFF\x02",
      "getinfo xxx",
      "\xFF\xFF\xFF\xFF\x02getinfoxxx",
      "\xFF\xFF\xFF\xFF\x02rcon",
      "\xFF\xFF\xFF\xFF\x02rconsecret status",
      std::string("\xFF\xFF\xFF\xFF\x02rcon secret \0\xFF\x80", 21),
      "\xFF\xFF\xFF\xFF\x02rcon secret kick " + std::string(5000, '\\'),
      "\xFF\xFF\xFF\xFF\x02rcon secret clientkick 99999999999999999999",
      std::string(60000, '\xFF'),
  };
  for (const std::string& datagram : junk) {
    client.SendTo(server.GamePort(), datagram);
    client.SendTo(server.QueryPort(), datagram);
  }
  client.SendTo(server.QueryPort(), "\\status");
  ReceiveAll(client, 500);

  client.SendTo(server.GamePort(), InfoRequest());
  std::vector<std::string> replies = ReceiveAll(client);
  ASSERT_THAT(replies, SizeIs(1));
  EXPECT_TRUE(replies[0].ends_with("\\challenge\\xxx"));
}

TEST(SimServerProcess, ScoresMoveUnlessStatic) {
  SimServer server({"--players", "4"});
  UdpPeer client;
  auto status = [&] {
    client.SendTo(server.QueryPort(), kStatusRequest);
    std::string reply = client.Receive().value_or("");
    return reply.substr(0, reply.find("\\final\\"));
  };
  std::string before = status();
  ASSERT_FALSE(before.empty());
  ASSERT_EQ(server.Control("static off"), "ok");
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  std::string now = before;
  while (now == before && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    now = status();
  }
  EXPECT_NE(now, before);
}

}  // namespace
}  // namespace kestrova::test
