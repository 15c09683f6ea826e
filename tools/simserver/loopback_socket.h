// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <netinet/in.h>

#include <optional>
#include <string>

namespace kestrova::simserver {

// A datagram as received, with the address it came from.
struct Received final {
  std::string bytes;
  sockaddr_in sender{};
};

// A non-blocking UDP socket bound to 127.0.0.1 only.
class LoopbackSocket final {
 public:
  // Binds to `port` (0: a free port the system picks). Throws
  // std::runtime_error naming the port and the system's reason.
  explicit LoopbackSocket(int port);
  ~LoopbackSocket();
  LoopbackSocket(const LoopbackSocket&) = delete;
  LoopbackSocket& operator=(const LoopbackSocket&) = delete;

  int Descriptor() const { return socket_; }
  int Port() const { return port_; }

  // The next waiting datagram, or nothing when none waits.
  std::optional<Received> Receive();
  // Sends one datagram; a failure is ignored, as a lost reply would be.
  void SendTo(const sockaddr_in& to, const std::string& bytes);

 private:
  int socket_ = -1;
  int port_ = 0;
};

}  // namespace kestrova::simserver
