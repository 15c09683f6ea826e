// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exporter/listen_address.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace kestrova::exporter {

namespace {

// The most connections waiting to be taken; the server's own connection
// limit decides how many it serves.
constexpr int kBacklog = 64;

in_port_t PortValue(const std::string& text, const std::string& whole) {
  if (text.empty() || text.size() > 5 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    throw std::invalid_argument("--listen: '" + whole + "' does not end in :PORT, a port from 0 to 65535");
  }
  const int port = std::stoi(text);
  if (port > 65535) {
    throw std::invalid_argument("--listen: '" + whole + "' does not end in :PORT, a port from 0 to 65535");
  }
  return htons(static_cast<in_port_t>(port));
}

}  // namespace

ListenAddress ParseListenAddress(const std::string& text) {
  ListenAddress address;
  const std::size_t colon = text.rfind(':');
  if (colon == std::string::npos) {
    throw std::invalid_argument("--listen: '" + text + "' is not ADDRESS:PORT");
  }
  std::string host = text.substr(0, colon);
  const in_port_t port = PortValue(text.substr(colon + 1), text);
  if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
    auto* v6 = reinterpret_cast<sockaddr_in6*>(&address.socketAddress);
    v6->sin6_family = AF_INET6;
    v6->sin6_port = port;
    if (::inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), &v6->sin6_addr) != 1) {
      throw std::invalid_argument("--listen: '" + host + "' is not an IPv6 address");
    }
    address.length = sizeof(sockaddr_in6);
    address.ipv6 = true;
    return address;
  }
  auto* v4 = reinterpret_cast<sockaddr_in*>(&address.socketAddress);
  v4->sin_family = AF_INET;
  v4->sin_port = port;
  if (::inet_pton(AF_INET, host.c_str(), &v4->sin_addr) != 1) {
    throw std::invalid_argument("--listen: '" + host + "' is not a dotted IPv4 address (IPv6 goes in brackets)");
  }
  address.length = sizeof(sockaddr_in);
  return address;
}

int ListenOn(const ListenAddress& address, const std::string& text) {
  const int made = ::socket(address.socketAddress.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  const auto fail = [&](int code) {
    if (made >= 0) {
      ::close(made);
    }
    return std::runtime_error("cannot listen on " + text + ": " + std::generic_category().message(code));
  };
  if (made < 0) {
    throw fail(errno);
  }
  // A restart finds the port free although the last run's connections linger.
  const int on = 1;
  if (::setsockopt(made, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
      (address.ipv6 && ::setsockopt(made, IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on) != 0) ||
      ::bind(made, reinterpret_cast<const sockaddr*>(&address.socketAddress), address.length) != 0 ||
      ::listen(made, kBacklog) != 0) {
    throw fail(errno);
  }
  return made;
}

std::string BoundAddressText(int socket) {
  sockaddr_storage bound{};
  socklen_t length = sizeof bound;
  if (::getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
    return "?";
  }
  char host[INET6_ADDRSTRLEN] = {};
  if (bound.ss_family == AF_INET6) {
    const auto* v6 = reinterpret_cast<const sockaddr_in6*>(&bound);
    ::inet_ntop(AF_INET6, &v6->sin6_addr, host, sizeof host);
    return "[" + std::string(host) + "]:" + std::to_string(ntohs(v6->sin6_port));
  }
  const auto* v4 = reinterpret_cast<const sockaddr_in*>(&bound);
  ::inet_ntop(AF_INET, &v4->sin_addr, host, sizeof host);
  return std::string(host) + ":" + std::to_string(ntohs(v4->sin_port));
}

}  // namespace kestrova::exporter
