// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace kestrova {

// A failed socket operation. Codes are the classic Windows Sockets numbers
// (10040 for a datagram too long, 10061 for a refused connection, ...), so
// that messages read the same on every platform; what() is
// "Socket Error # CODE\r\nDESCRIPTION".
class SocketError final : public std::runtime_error {
 public:
  explicit SocketError(int code);
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

// The description of a socket error code; empty for an unknown code.
std::string SocketErrorDescription(int code);

// "Socket Error # %d\r\n%s" for a code.
std::string SocketErrorMessage(int code);

// The socket error code that stands for a POSIX errno value. Values with no
// counterpart are returned unchanged.
int SocketCodeFromErrno(int errnoValue);

}  // namespace kestrova
