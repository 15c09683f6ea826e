// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/loopback_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kestrova::simserver {

namespace {

// Large enough for any UDP datagram, so nothing is ever cut.
constexpr std::size_t kReceiveBuffer = 65536;

}  // namespace

LoopbackSocket::LoopbackSocket(int port) {
  socket_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (socket_ < 0) {
    throw std::runtime_error(std::string("cannot open a UDP socket: ") + std::strerror(errno));
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    std::string reason = std::strerror(errno);
    ::close(socket_);
    throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + reason);
  }
  socklen_t length = sizeof address;
  ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
  port_ = ntohs(address.sin_port);
}

LoopbackSocket::~LoopbackSocket() { ::close(socket_); }

std::optional<Received> LoopbackSocket::Receive() {
  Received received;
  received.bytes.resize(kReceiveBuffer);
  // An error left behind by an earlier reply to a closed port is no
  // datagram: look again.
  for (;;) {
    socklen_t length = sizeof received.sender;
    ssize_t count = ::recvfrom(socket_, received.bytes.data(), received.bytes.size(), 0,
                               reinterpret_cast<sockaddr*>(&received.sender), &length);
    if (count >= 0) {
      received.bytes.resize(static_cast<std::size_t>(count));
      return received;
    }
    if (errno == EINTR || errno == ECONNREFUSED) {
      continue;
    }
    return std::nullopt;
  }
}

void LoopbackSocket::SendTo(const sockaddr_in& to, const std::string& bytes) {
  ::sendto(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

}  // namespace kestrova::simserver
