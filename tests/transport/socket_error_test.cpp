// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/socket_error.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kestrova {
namespace {

// What the user reads when a datagram socket call fails with the errno
// values such calls give: the classic socket code, a line break, the code's
// description (quirks included).
TEST(SocketError, TellsTheCodeOfTheFailureAndItsDescription) {
  struct Case {
    int errnoValue;
    const char* message;
  };
  const Case cases[] = {
      {EMSGSIZE, "Socket Error # 10040\r\nMessage too long."},
      {ECONNREFUSED, "Socket Error # 10061\r\nConnection refused."},
      {ECONNRESET, "Socket Error # 10054\r\nConnection reset by peer."},
      {EAGAIN, "Socket Error # 10035\r\nOperation would block. "},
      {EWOULDBLOCK, "Socket Error # 10035\r\nOperation would block. "},
      {EADDRINUSE, "Socket Error # 10048\r\nAddress already in use."},
      {EADDRNOTAVAIL, "Socket Error # 10049\r\nCannot assign requested address."},
      {ENETUNREACH, "Socket Error # 10051\r\nNetwork is unreachable."},
      {EHOSTUNREACH, "Socket Error # 10065\r\nNo route to host."},
      {EACCES, "Socket Error # 10013\r\nAccess denied."},
      {ENOBUFS, "Socket Error # 10055\r\nNo buffer space available."},
      {EINTR, "Socket Error # 10004\r\nInterrupted system call."},
      {ENOTEMPTY, "Socket Error # 10066\r\nDirectory not empty"},
      // No socket code of its own: the errno value, and no description.
      {ENOENT, "Socket Error # 2\r\n"},
  };
  for (const Case& c : cases) {
    const SocketError error(SocketCodeFromErrno(c.errnoValue));
    EXPECT_STREQ(error.what(), c.message) << "errno " << c.errnoValue;
  }
  EXPECT_EQ(SocketError(10040).Code(), 10040);
}

TEST(SocketError, ACodeOutsideTheTableHasNoDescription) {
  for (const int code : {10000, 10067, 12345, -1}) {
    EXPECT_EQ(SocketErrorMessage(code), "Socket Error # " + std::to_string(code) + "\r\n");
  }
}

}  // namespace
}  // namespace kestrova
