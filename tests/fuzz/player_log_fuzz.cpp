// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV log's record writer, fed rows, and the append of a record to a
// day file that already holds any bytes. The input is the file's old
// content, kDatagramSeparator, then the rows: one a line, the caption and
// the sub-items cut by the byte 1F.
#include <fcntl.h>
#include <unistd.h>

#include "fuzz_support.h"
#include "storage/io_error.h"
#include "storage/player_log.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/fixed_log_source.h"

namespace {

using namespace kestrova;

constexpr LocalTime kNow{2026, 12, 7, 1, 5, 15};

void WriteFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  FUZZ_CHECK(fd >= 0);
  FUZZ_CHECK(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
  ::close(fd);
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  FUZZ_CHECK(fd >= 0);
  char buffer[4096];
  for (ssize_t count = ::read(fd, buffer, sizeof buffer); count > 0; count = ::read(fd, buffer, sizeof buffer)) {
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return bytes;
}

std::vector<PlayerRow> RowsOf(std::string_view text) {
  std::vector<PlayerRow> rows;
  if (text.empty()) {
    return rows;
  }
  for (const std::string& line : fuzz::SplitInput(text, "\n")) {
    std::vector<std::string> fields = fuzz::SplitInput(line, "\x1F");
    PlayerRow row{fields.front(), {}};
    row.subItems.assign(fields.begin() + 1, fields.end());
    rows.push_back(std::move(row));
  }
  return rows;
}

// What an older writer's end mark leaves of a file: cut at the first 1A
// among its last 128 bytes.
std::string WithoutEndMark(const std::string& bytes) {
  const std::size_t start = bytes.size() - std::min<std::size_t>(bytes.size(), 128);
  const std::size_t mark = bytes.find('\x1A', start);
  return mark == std::string::npos ? bytes : bytes.substr(0, mark);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> parts = fuzz::SplitInput(fuzz::InputText(data, size), fuzz::kDatagramSeparator);
  const std::string old = parts.size() > 1 ? parts[0] : std::string();
  const std::vector<PlayerRow> rows = RowsOf(parts.back());

  const std::string record = RecordBytes(kNow, ":", rows);
  std::size_t expected = 21 + 2;
  for (const PlayerRow& row : rows) {
    expected += row.caption.size() + 1 + 2;
    for (const std::string& item : row.subItems) {
      expected += item.size() + 1;
    }
  }
  FUZZ_CHECK(record.size() == expected);
  FUZZ_CHECK(record.starts_with("07-12-2026 01:05:15\r\n") && record.ends_with("\r\n\r\n"));

  const std::string path = std::string(fuzz::ScratchFolder()) + "/" + LogFileName(kNow);
  WriteFile(path, old);
  test::FixedClock clock(kNow);
  PlayerLog log(clock, ":", fuzz::ScratchFolder());
  test::FixedLogSource source;
  source.rows = rows;
  log.Step(source);
  FUZZ_CHECK(log.Counter() == 1);
  FUZZ_CHECK(ReadFile(path) == (rows.empty() ? old : WithoutEndMark(old) + record));
  return 0;
}
