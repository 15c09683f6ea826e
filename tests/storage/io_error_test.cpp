// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/io_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <set>
#include <string>

namespace kestrova {
namespace {

struct ErrnoCase {
  int errnoValue;
  std::string message;
};

void PrintTo(const ErrnoCase& c, std::ostream* os) { *os << "errno " << c.errnoValue; }

class IoErrorFromErrno : public ::testing::TestWithParam<ErrnoCase> {};

TEST_P(IoErrorFromErrno, ReadsAsTheMatchingFailure) {
  EXPECT_EQ(IoError(IoCodeFromErrno(GetParam().errnoValue)).what(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Errnos, IoErrorFromErrno,
    ::testing::Values(ErrnoCase{ENOENT, "File not found"}, ErrnoCase{ENOTDIR, "Invalid filename"},
                      ErrnoCase{ENAMETOOLONG, "Invalid filename"}, ErrnoCase{EMFILE, "Too many open files"},
                      ErrnoCase{ENFILE, "Too many open files"}, ErrnoCase{EACCES, "File access denied"},
                      ErrnoCase{EPERM, "File access denied"}, ErrnoCase{EROFS, "File access denied"},
                      ErrnoCase{EISDIR, "File access denied"}, ErrnoCase{ENOSPC, "Disk full"},
                      ErrnoCase{EDQUOT, "Disk full"},
                      // Numbers that would read as another failure get one of their own.
                      ErrnoCase{EIO, "I/O error 1117"}, ErrnoCase{EINTR, "I/O error 1117"},
                      ErrnoCase{ESRCH, "I/O error 1117"}, ErrnoCase{ENETUNREACH, "I/O error 1117"},
                      ErrnoCase{EFBIG, "I/O error " + std::to_string(EFBIG)},
                      ErrnoCase{EBADF, "I/O error " + std::to_string(EBADF)}));

// Only the errno values meant for a named failure may produce its message.
TEST(IoErrorFromErrnoTable, NoOtherErrnoReadsAsANamedFailure) {
  const std::set<int> named{ENOENT, ENOTDIR, ENAMETOOLONG, ELOOP,  EINVAL, EMFILE, ENFILE,
                            EACCES, EPERM,   EROFS,        EISDIR, ENOSPC, EDQUOT};
  for (int value = 1; value < 200; ++value) {
    if (named.count(value) == 0) {
      EXPECT_EQ(IoErrorMessage(IoCodeFromErrno(value)).rfind("I/O error ", 0), 0u) << "errno " << value;
    }
  }
}

}  // namespace
}  // namespace kestrova
