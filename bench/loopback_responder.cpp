// SPDX-License-Identifier: GPL-3.0-or-later
#include "loopback_responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace kestrova::bench {

namespace {

// A UDP socket bound to 127.0.0.1 on a port of the system's choice; sets
// `port` to that port.
int BoundLoopbackSocket(int& port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
  if (fd < 0) {
    throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    const std::string reason = std::strerror(errno);
    ::close(fd);
    throw std::runtime_error("bind: " + reason);
  }
  port = ntohs(address.sin_port);
  return fd;
}

// Reads one datagram and answers its sender with `reply`.
void Answer(int fd, const std::string& reply) {
  std::array<char, 2048> request{};
  sockaddr_in sender{};
  socklen_t length = sizeof sender;
  if (::recvfrom(fd, request.data(), request.size(), 0, reinterpret_cast<sockaddr*>(&sender), &length) < 0) {
    return;
  }
  ::sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&sender), length);
}

}  // namespace

LoopbackResponder::LoopbackResponder(std::string infoReply, std::vector<std::string> statusReplies)
    : infoReply_(std::move(infoReply)), statusReplies_(std::move(statusReplies)) {
  if (statusReplies_.empty()) {
    throw std::runtime_error("no status reply to answer with");
  }
  gameSocket_ = BoundLoopbackSocket(gamePort_);
  try {
    querySocket_ = BoundLoopbackSocket(queryPort_);
  } catch (...) {
    ::close(gameSocket_);
    throw;
  }
  thread_ = std::thread([this] { Serve(); });
}

LoopbackResponder::~LoopbackResponder() {
  stop_ = true;
  thread_.join();
  ::close(gameSocket_);
  ::close(querySocket_);
}

void LoopbackResponder::Serve() {
  std::size_t next = 0;
  std::array<pollfd, 2> sockets{{{gameSocket_, POLLIN, 0}, {querySocket_, POLLIN, 0}}};
  while (!stop_) {
    // A bounded wait, so that the destructor's stop is seen.
    if (::poll(sockets.data(), sockets.size(), 50) <= 0) {
      continue;
    }
    if ((sockets[0].revents & POLLIN) != 0) {
      Answer(gameSocket_, infoReply_);
    }
    if ((sockets[1].revents & POLLIN) != 0) {
      Answer(querySocket_, statusReplies_[next]);
      next = (next + 1) % statusReplies_.size();
    }
  }
}

}  // namespace kestrova::bench
