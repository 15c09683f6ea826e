// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/player_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <utility>

#include "storage/io_error.h"
#include "storage/posix_file.h"

namespace kestrova {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kEndOfFileMark = 0x1A;
constexpr off_t kEndOfFileMarkWindow = 128;

std::string TwoDigits(int value) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", value);
  return text;
}

// "dd-mm-yyyy hh:nn:ss" with `separator` in place of each ":".
std::string Stamp(const LocalTime& time, const std::string& separator) {
  char year[16];
  std::snprintf(year, sizeof year, "%04d", time.year);
  return TwoDigits(time.day) + "-" + TwoDigits(time.month) + "-" + year + " " + TwoDigits(time.hour) + separator +
         TwoDigits(time.minute) + separator + TwoDigits(time.second);
}

// A file that an older writer ended with the byte 1A would hide everything
// appended behind it from readers that stop there, so the first such byte
// among the last 128 cuts the file before anything is appended. Returns the
// bytes cut off (none when there is no mark).
std::string CutAtEndOfFileMark(PosixFile& file) {
  struct stat info {};
  if (::fstat(file.Fd(), &info) != 0) {
    ThrowIoErrorFromErrno(errno);
  }
  if (!S_ISREG(info.st_mode) || info.st_size == 0) {
    return {};
  }
  const off_t start = info.st_size - std::min(info.st_size, kEndOfFileMarkWindow);
  std::array<char, kEndOfFileMarkWindow> tail{};
  std::size_t size = 0;
  while (start + static_cast<off_t>(size) < info.st_size) {
    const ssize_t count = ::pread(file.Fd(), tail.data() + size, tail.size() - size, start + static_cast<off_t>(size));
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      ThrowIoErrorFromErrno(errno);
    }
    if (count == 0) {
      break;  // shrunk meanwhile
    }
    size += static_cast<std::size_t>(count);
  }
  const auto end = tail.begin() + static_cast<std::ptrdiff_t>(size);
  const auto mark = std::find(tail.begin(), end, kEndOfFileMark);
  if (mark == end) {
    return {};
  }
  if (::ftruncate(file.Fd(), start + (mark - tail.begin())) != 0) {
    ThrowIoErrorFromErrno(errno);
  }
  return std::string(mark, end);
}

off_t FileLength(const PosixFile& file) {
  struct stat info {};
  if (::fstat(file.Fd(), &info) != 0) {
    ThrowIoErrorFromErrno(errno);
  }
  return info.st_size;
}

// Puts a day file back as it was before a record that could not be written
// whole: a file the record made is removed; another is cut back to the
// length it had and gets back what the end mark's cut took off. `fd` is
// the file's descriptor, or -1 once a failed close has released it. The
// failure of the record is what gets reported, so these steps report
// nothing of their own.
void TakeBackRecord(const std::string& path, bool made, int fd, off_t keptLength, const std::string& cutTail) {
  if (made) {
    ::unlink(path.c_str());
    return;
  }
  const int writeFd = fd >= 0 ? fd : ::open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (writeFd < 0) {
    return;
  }
  if (::ftruncate(writeFd, keptLength) == 0 && !cutTail.empty()) {
    // Appended at the kept length, where the tail stood.
    [[maybe_unused]] const ssize_t written = ::write(writeFd, cutTail.data(), cutTail.size());
  }
  if (writeFd != fd) {
    ::close(writeFd);
  }
}

}  // namespace

std::string LogFileName(const LocalTime& time) { return TwoDigits(time.day) + TwoDigits(time.month) + ".csv"; }

std::string RecordBytes(const LocalTime& time, const std::string& timeSeparator, const std::vector<PlayerRow>& rows) {
  std::string bytes = Stamp(time, timeSeparator) + kLineEnd;
  for (const PlayerRow& row : rows) {
    bytes += row.caption;
    bytes += ';';
    for (const std::string& item : row.subItems) {
      bytes += item;
      bytes += ';';
    }
    bytes += kLineEnd;
  }
  bytes += kLineEnd;
  return bytes;
}

PlayerLog::PlayerLog(const Clock& clock, std::string timeSeparator, std::string folder)
    : clock_(clock), timeSeparator_(std::move(timeSeparator)), folder_(std::move(folder)) {}

bool PlayerLog::RecordDue(std::uint16_t counter, std::int32_t intervalSeconds) {
  // Twice the magnitude in 64 bits, so no interval overflows. An interval
  // whose double leaves the 32-bit range makes a divisor above 65535, which
  // the 16-bit counter never reaches: such a record is due only at 0.
  std::int64_t divisor = 2 * static_cast<std::int64_t>(intervalSeconds);
  if (divisor < 0) {
    divisor = -divisor;
  }
  return divisor != 0 && counter % divisor == 0;
}

void PlayerLog::Step(const PlayerLogSource& source) {
  const std::int32_t interval = source.IntervalSeconds();
  if (interval == 0) {
    return;  // suspends the counter as well as the log
  }
  if (RecordDue(counter_, interval)) {
    // The list is looked at before the switch, and both only when due.
    const std::vector<PlayerRow> rows = source.Rows();
    if (!rows.empty() && source.LogEnabled()) {
      AppendRecord(rows);
    }
  }
  ++counter_;  // a failure above leaves the counter where it was
}

void PlayerLog::AppendRecord(const std::vector<PlayerRow>& rows) {
  const LocalTime now = clock_.Now();  // one reading for the name and the stamp
  const std::string name = LogFileName(now);
  const std::string path = folder_.empty() ? name : folder_ + "/" + name;
  struct stat info {};
  const bool made = ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
  PosixFile file(path, O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  const std::string cutTail = CutAtEndOfFileMark(file);
  const off_t keptLength = FileLength(file);
  // A record goes in whole or not at all: a full disk or a size limit
  // stopping it part-way must not leave half a record for the next one to
  // follow.
  try {
    file.WriteAll(RecordBytes(now, timeSeparator_, rows));
    file.Close();
  } catch (const IoError&) {
    TakeBackRecord(path, made, file.Fd(), keptLength, cutTail);
    throw;
  }
}

}  // namespace kestrova
