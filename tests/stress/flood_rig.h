// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::test {

// Stands between the window and the simulated server, on a thread of its
// own: the window is pointed at the rig's game and query ports, and the rig
// passes every request on to the server and every reply back. So it learns
// the window's three client ports from the requests it sees: the info
// query's ("getinfo"), the console's (any other game-port request) and the
// status query's ("\status\").
//
// Flood(count) then sends `count` datagrams to those three ports in turn,
// round after round of five kinds: random bytes; empty datagrams;
// datagrams of 8193 bytes and more; replies that look valid, with player
// counts and numbers far out of range and tokens of 4095 bytes; and copies
// of the server's last real replies, sent from 127.0.0.2 to 127.0.0.9.
class FloodRig final {
 public:
  FloodRig(int serverGamePort, int serverQueryPort);
  ~FloodRig();
  FloodRig(const FloodRig&) = delete;
  FloodRig& operator=(const FloodRig&) = delete;

  // Where the window is to send.
  int GamePort() const { return gamePort_; }
  int QueryPort() const { return queryPort_; }

  // Whether all three client ports are known.
  bool PortsKnown() const;

  // Builds the flood's datagrams, the copies from the replies seen so far.
  void BuildFlood();
  // Starts sending `count` datagrams at about `perSecond`; returns at once.
  void StartFlood(int count, int perSecond);
  bool FloodDone() const { return done_.load(); }
  int Sent() const { return sent_.load(); }
  // Seconds the flood took.
  double FloodSeconds() const { return floodSeconds_.load(); }

 private:
  enum Client { kInfo = 0, kStatus = 1, kConsole = 2 };

  void Run();
  void Relay(int frontSocket, bool queryPort);
  void RelayBack(Client client);
  void SendFloodBatch();

  int serverGamePort_;
  int serverQueryPort_;
  int gameSocket_ = -1;
  int querySocket_ = -1;
  int gamePort_ = 0;
  int queryPort_ = 0;
  // One socket toward the server per client, so replies find their way back.
  std::array<int, 3> backSockets_{-1, -1, -1};
  std::array<std::atomic<int>, 3> clientPorts_{};
  // Sockets on 127.0.0.2 and up that send the copies.
  std::vector<int> otherSenders_;

  std::mutex repliesLock_;
  std::array<std::string, 3> lastReplies_;

  // The flood, built before it starts so that its sending allocates nothing.
  std::array<std::vector<std::string>, 3> validLooking_;
  std::array<std::string, 3> copies_;
  std::vector<std::string> randomBytes_;
  std::vector<std::string> oversize_;
  int floodCount_ = 0;
  int perSecond_ = 0;
  std::atomic<bool> flooding_{false};
  std::atomic<bool> done_{false};
  std::atomic<int> sent_{0};
  std::atomic<double> floodSeconds_{0};

  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace kestrova::test
