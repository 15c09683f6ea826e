// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::bench {

// A server stand-in on 127.0.0.1 that answers from memory, on a thread of
// its own: every datagram to its game port gets the info reply, every
// datagram to its query port the next status reply of a fixed sequence
// (round robin). Its work stays off the benchmark's thread, so the
// benchmark's CPU time is the client's alone.
class LoopbackResponder final {
 public:
  // Throws std::runtime_error when the sockets cannot be had.
  LoopbackResponder(std::string infoReply, std::vector<std::string> statusReplies);
  ~LoopbackResponder();
  LoopbackResponder(const LoopbackResponder&) = delete;
  LoopbackResponder& operator=(const LoopbackResponder&) = delete;

  int GamePort() const { return gamePort_; }
  int QueryPort() const { return queryPort_; }

 private:
  void Serve();

  std::string infoReply_;
  std::vector<std::string> statusReplies_;
  int gameSocket_ = -1;
  int querySocket_ = -1;
  int gamePort_ = 0;
  int queryPort_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace kestrova::bench
