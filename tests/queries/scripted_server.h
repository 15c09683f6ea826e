// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/udp_peer.h"

namespace kestrova::test {

// A loopback server that answers requests from a script on a thread of its
// own, so that a query's send and receive can run in one call. Each turn
// takes one request and sends back its datagrams in order (none: silence).
class ScriptedServer final {
 public:
  using Turn = std::vector<std::string>;

  ScriptedServer() = default;
  ~ScriptedServer() { Finish(); }
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  int Port() const { return peer_.Port(); }
  // Direct use of the socket, only while no script runs.
  UdpPeer& Peer() { return peer_; }

  void Start(std::vector<Turn> turns) {
    Finish();
    requests_.clear();
    thread_ = std::thread([this, turns = std::move(turns)] {
      for (const Turn& turn : turns) {
        std::optional<std::string> request = peer_.Receive(5000);
        if (!request) {
          return;
        }
        requests_.push_back(*request);
        for (const std::string& datagram : turn) {
          peer_.Reply(datagram);
        }
      }
    });
  }

  // Waits for the script to end; the requests it took, in order.
  const std::vector<std::string>& Finish() {
    if (thread_.joinable()) {
      thread_.join();
    }
    return requests_;
  }

 private:
  UdpPeer peer_;
  std::thread thread_;
  std::vector<std::string> requests_;
};

// Fields joined into a reply, each preceded by a backslash.
inline std::string Fields(const std::vector<std::string>& fields) {
  std::string text;
  for (const std::string& field : fields) {
    text += '\\';
    text += field;
  }
  return text;
}

}  // namespace kestrova::test
