// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/datagram_client.h"

#include <arpa/inet.h>
#include <linux/sock_diag.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "core/plain_wait.h"
#include "core/responsive_wait.h"
#include "core/socket_error.h"

namespace kestrova {

namespace {

constexpr int kCannotAssignAddress = 10049;
constexpr int kMessageTooLong = 10040;

[[noreturn]] void ThrowLastSocketError() { throw SocketError(SocketCodeFromErrno(errno)); }

// Host as a dotted quad and the low 16 bits of Port, with no name lookup.
// Address 0.0.0.0 and port 0 are refused as Windows refuses them; Linux
// would quietly deliver the former to the local host.
sockaddr_in Destination(const std::string& host, std::int32_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  if (host.find('\0') != std::string::npos || ::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1 ||
      address.sin_addr.s_addr == 0 || address.sin_port == 0) {
    throw SocketError(kCannotAssignAddress);
  }
  return address;
}

}  // namespace

DatagramClient::~DatagramClient() {
  if (socket_ >= 0) {
    ::shutdown(socket_, SHUT_WR);
    ::close(socket_);
  }
}

int DatagramClient::EnsureSocket() {
  if (socket_ >= 0) {
    return socket_;
  }
  const int made = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (made < 0) {
    throw std::runtime_error("Cannot allocate socket.");
  }
  const int broadcast = BroadcastEnabled ? 1 : 0;
  if (::setsockopt(made, SOL_SOCKET, SO_BROADCAST, &broadcast, sizeof broadcast) != 0) {
    const int code = SocketCodeFromErrno(errno);
    ::close(made);
    throw SocketError(code);
  }
  socket_ = made;
  return socket_;
}

void DatagramClient::Send(std::string_view text) {
  const int socket = EnsureSocket();
  const sockaddr_in address = Destination(Host, Port);
  ssize_t sent = 0;
  do {
    sent = ::sendto(socket, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (sent < 0 && errno == EINTR);
  if (sent < 0) {
    if (errno == EMSGSIZE) {
      throw std::runtime_error("Package Size Too Big.");
    }
    ThrowLastSocketError();
  }
  if (static_cast<std::size_t>(sent) != text.size()) {
    throw std::runtime_error("Not all bytes sent.");
  }
}

bool DatagramClient::WaitForData(int socket, int timeoutMs) const {
  return WaitsWith != nullptr ? WaitsWith->WaitForData(socket, timeoutMs) : PlainWaitForData(socket, timeoutMs);
}

std::string DatagramClient::ReceiveText(int timeoutMs) {
  if (timeoutMs == -1) {
    timeoutMs = ReceiveTimeout;
  }
  const int socket = EnsureSocket();
  if (!WaitForData(socket, timeoutMs)) {
    return "";
  }
  return ReadOneDatagram().value_or("");
}

std::optional<std::string> DatagramClient::ReceiveWithin(int timeoutMs) {
  const int socket = EnsureSocket();
  if (!WaitForData(socket, timeoutMs)) {
    return std::nullopt;
  }
  return ReadOneDatagram();
}

std::optional<std::string> DatagramClient::ReceiveQuietly(int timeoutMs) {
  const int socket = EnsureSocket();
  if (!PlainWaitForData(socket, timeoutMs)) {
    return std::nullopt;
  }
  return ReadOneDatagram();
}

std::optional<std::string> DatagramClient::ReadOneDatagram() {
  std::string buffer(static_cast<std::size_t>(std::max(BufferSize, 0)), '\0');
  ssize_t count = 0;
  // MSG_TRUNC reports the datagram's full length, so one too long for the
  // buffer is recognised (and, as always, taken off the queue). Not blocking:
  // a datagram that the wait saw may have been dropped since.
  do {
    count = ::recvfrom(socket_, buffer.data(), buffer.size(), MSG_TRUNC | MSG_DONTWAIT, nullptr, nullptr);
  } while (count < 0 && errno == EINTR);
  if (count < 0) {
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      return std::nullopt;
    }
    ThrowLastSocketError();
  }
  if (static_cast<std::size_t>(count) > buffer.size()) {
    throw SocketError(kMessageTooLong);
  }
  buffer.resize(static_cast<std::size_t>(count));
  return buffer;
}

int DatagramClient::LocalPort() const {
  if (socket_ < 0) {
    return 0;
  }
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return 0;
  }
  return ntohs(address.sin_port);
}

std::uint32_t DatagramClient::DroppedDatagrams() const {
  std::uint32_t counts[SK_MEMINFO_VARS] = {};
  socklen_t length = sizeof counts;
  if (socket_ < 0 || ::getsockopt(socket_, SOL_SOCKET, SO_MEMINFO, counts, &length) != 0 ||
      length <= SK_MEMINFO_DROPS * sizeof counts[0]) {
    return 0;
  }
  return counts[SK_MEMINFO_DROPS];
}

}  // namespace kestrova
