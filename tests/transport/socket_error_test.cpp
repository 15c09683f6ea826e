#include "core/socket_error.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace kestrova {
namespace {

TEST(SocketError, MessageIsCodeLineBreakDescription) {
  const SocketError error(10040);
  EXPECT_EQ(error.Code(), 10040);
  EXPECT_STREQ(error.what(), "Socket Error # 10040\r\nMessage too long.");
  EXPECT_EQ(SocketErrorMessage(10035), "Socket Error # 10035\r\nOperation would block. ");
  EXPECT_EQ(SocketErrorMessage(10066), "Socket Error # 10066\r\nDirectory not empty");
  EXPECT_EQ(SocketErrorMessage(10049), "Socket Error # 10049\r\nCannot assign requested address.");
  EXPECT_EQ(SocketErrorMessage(10047), "Socket Error # 10047\r\nAddress family not supported by protocol family.");
  EXPECT_EQ(SocketErrorMessage(12345), "Socket Error # 12345\r\n");
  EXPECT_EQ(SocketErrorMessage(-1), "Socket Error # -1\r\n");
  EXPECT_EQ(SocketErrorDescription(10067), "");
}

TEST(SocketError, EveryCodeFrom10004To10066HasItsDescriptionOrNone) {
  // The table has holes: these codes have no description.
  for (int code = 10000; code <= 10070; ++code) {
    const bool described = (code == 10004 || code == 10009 || code == 10013 || code == 10014 || code == 10022 ||
                            code == 10024 || (code >= 10035 && code <= 10066));
    EXPECT_EQ(!SocketErrorDescription(code).empty(), described) << code;
  }
}

TEST(SocketCodeFromErrno, MapsPosixErrorsToSocketCodes) {
  // clang-format off
  const std::pair<int, int> table[] = {
      {EINTR, 10004},           {EBADF, 10009},           {EACCES, 10013},        {EFAULT, 10014},
      {EINVAL, 10022},          {EMFILE, 10024},          {EWOULDBLOCK, 10035},   {EAGAIN, 10035},
      {EINPROGRESS, 10036},     {EALREADY, 10037},        {ENOTSOCK, 10038},      {EDESTADDRREQ, 10039},
      {EMSGSIZE, 10040},        {EPROTOTYPE, 10041},      {ENOPROTOOPT, 10042},   {EPROTONOSUPPORT, 10043},
      {ESOCKTNOSUPPORT, 10044}, {EOPNOTSUPP, 10045},      {EPFNOSUPPORT, 10046},  {EAFNOSUPPORT, 10047},
      {EADDRINUSE, 10048},      {EADDRNOTAVAIL, 10049},   {ENETDOWN, 10050},      {ENETUNREACH, 10051},
      {ENETRESET, 10052},       {ECONNABORTED, 10053},    {ECONNRESET, 10054},    {ENOBUFS, 10055},
      {EISCONN, 10056},         {ENOTCONN, 10057},        {ESHUTDOWN, 10058},     {ETOOMANYREFS, 10059},
      {ETIMEDOUT, 10060},       {ECONNREFUSED, 10061},    {ELOOP, 10062},         {ENAMETOOLONG, 10063},
      {EHOSTDOWN, 10064},       {EHOSTUNREACH, 10065},    {ENOTEMPTY, 10066},
  };
  // clang-format on
  for (const auto& [errnoValue, code] : table) {
    EXPECT_EQ(SocketCodeFromErrno(errnoValue), code) << "errno " << errnoValue;
  }
  EXPECT_EQ(SocketCodeFromErrno(ENOENT), ENOENT);
}

}  // namespace
}  // namespace kestrova
