// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "console/console_exchange.h"
#include "core/datagram_client.h"
#include "support/query_window.h"
#include "support/recording_console.h"
#include "support/udp_peer.h"

namespace kestrova::test {

inline const std::string kHeader("\xFF\xFF\xFF\xFF\x02", 5);

// The server side of one command, played on a thread of its own while the
// console waits: takes the next datagram and answers it with `replies`,
// sent back to back.
class OneAnswer final {
 public:
  OneAnswer(UdpPeer& server, std::vector<std::string> replies)
      : thread_([this, &server, replies = std::move(replies)] {
          request_ = server.Receive(5000);
          if (request_) {
            for (const std::string& reply : replies) {
              server.Reply(reply);
            }
          }
        }) {}
  ~OneAnswer() {
    if (thread_.joinable()) {
      thread_.join();
    }
  }
  OneAnswer(const OneAnswer&) = delete;
  OneAnswer& operator=(const OneAnswer&) = delete;

  // The datagram the server got (waits for the server to finish).
  std::optional<std::string> Request() {
    if (thread_.joinable()) {
      thread_.join();
    }
    return request_;
  }

 private:
  std::optional<std::string> request_;
  std::thread thread_;  // last, so it starts after request_ exists
};

// A console exchange talking to a scripted server on 127.0.0.1.
struct ConsoleRig {
  explicit ConsoleRig(int receiveTimeoutMs = 2000) {
    udp3.ReceiveTimeout = receiveTimeoutMs;
    endpoint.gamePortText = std::to_string(server.Port());
  }

  UdpPeer server;
  DatagramClient udp3;
  TestEndpoint endpoint;  // 127.0.0.1 and the game port text
  RecordingConsole output;
  ConsoleExchange exchange{udp3, endpoint, output};
};

}  // namespace kestrova::test
