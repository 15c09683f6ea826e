// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <sys/socket.h>

#include <string>

namespace kestrova::exporter {

// Where the exporter takes its HTTP connections.
struct ListenAddress {
  sockaddr_storage socketAddress{};
  socklen_t length = 0;
  bool ipv6 = false;
};

// Reads "A.B.C.D:PORT" or "[IPV6]:PORT", literal addresses only, PORT from
// 0 (any free port) to 65535. Throws std::invalid_argument saying why not.
ListenAddress ParseListenAddress(const std::string& text);

// A TCP socket listening on `address`, close-on-exec. Throws
// std::runtime_error with the system's reason ("cannot listen on
// 127.0.0.1:9640: Address already in use").
int ListenOn(const ListenAddress& address, const std::string& text);

// The address and port a socket is bound to, as "127.0.0.1:9640" or
// "[::1]:9640".
std::string BoundAddressText(int socket);

}  // namespace kestrova::exporter
