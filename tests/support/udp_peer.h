// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrova::test {

// A UDP socket on 127.0.0.1 with a port of its own, standing in for a
// server (or another sender) in tests that script every byte.
class UdpPeer final {
 public:
  UdpPeer() : UdpPeer(0) {}
  // Bound to 127.0.0.1:`port` (0: a port of the system's choice); throws
  // std::runtime_error when that port cannot be had.
  explicit UdpPeer(int port);
  ~UdpPeer();
  UdpPeer(const UdpPeer&) = delete;
  UdpPeer& operator=(const UdpPeer&) = delete;

  int Port() const { return port_; }

  // The next datagram within `timeoutMs`, or nothing. Remembers its sender.
  std::optional<std::string> Receive(int timeoutMs = 2000);
  // The port of the last datagram's sender.
  int LastSenderPort() const { return lastSenderPort_; }

  // Sends to 127.0.0.1:`port`.
  void SendTo(int port, const std::string& bytes);
  // Answers the last sender.
  void Reply(const std::string& bytes) { SendTo(lastSenderPort_, bytes); }

 private:
  int socket_ = -1;
  int port_ = 0;
  int lastSenderPort_ = 0;
};

// A loopback port that was free a moment ago.
int FreeUdpPort();

}  // namespace kestrova::test
