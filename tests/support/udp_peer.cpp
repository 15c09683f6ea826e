// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/udp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace kestrova::test {

namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

UdpPeer::UdpPeer(int port) {
  socket_ = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (socket_ < 0) {
    throw std::runtime_error("test peer: no socket");
  }
  sockaddr_in address = Loopback(port);
  if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(socket_);
    throw std::runtime_error("test peer: bind failed");
  }
  socklen_t length = sizeof address;
  ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

UdpPeer::~UdpPeer() { ::close(socket_); }

std::optional<std::string> UdpPeer::Receive(int timeoutMs) {
  pollfd ready{socket_, POLLIN, 0};
  if (::poll(&ready, 1, timeoutMs) != 1) {
    return std::nullopt;
  }
  std::string buffer(65536, '\0');
  sockaddr_in sender{};
  socklen_t length = sizeof sender;
  ssize_t count = ::recvfrom(socket_, buffer.data(), buffer.size(), 0, reinterpret_cast<sockaddr*>(&sender), &length);
  if (count < 0) {
    return std::nullopt;
  }
  lastSenderPort_ = ntohs(sender.sin_port);
  buffer.resize(static_cast<std::size_t>(count));
  return buffer;
}

void UdpPeer::SendTo(int port, const std::string& bytes) {
  sockaddr_in address = Loopback(port);
  if (::sendto(socket_, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address), sizeof address) !=
      static_cast<ssize_t>(bytes.size())) {
    throw std::runtime_error("test peer: send failed");
  }
}

int FreeUdpPort() {
  UdpPeer probe;
  return probe.Port();
}

}  // namespace kestrova::test
