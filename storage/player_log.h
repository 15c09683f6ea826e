// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/local_time.h"
#include "core/player_row.h"

namespace kestrova {

// What the log step reads from the window.
class PlayerLogSource {
 public:
  virtual ~PlayerLogSource() = default;
  // The interval field's value in seconds (lenient: 0 for an unreadable text).
  virtual std::int32_t IntervalSeconds() const = 0;
  virtual bool LogEnabled() const = 0;
  virtual std::vector<PlayerRow> Rows() const = 0;
};

// "ddmm.csv" for the day of `time`.
std::string LogFileName(const LocalTime& time);

// One record: the stamp "dd-mm-yyyy hh:nn:ss" (":" replaced by
// `timeSeparator`), one line per row (caption ";" then every sub-item
// followed by ";"), an empty line; CR LF line ends.
std::string RecordBytes(const LocalTime& time, const std::string& timeSeparator, const std::vector<PlayerRow>& rows);

// Build B's daily CSV log of the player list, written every N seconds
// counted in completed query cycles.
class PlayerLog final {
 public:
  // `folder` is where the day files go (the working directory in the program).
  PlayerLog(const Clock& clock, std::string timeSeparator, std::string folder = ".");

  void ResetCounter() { counter_ = 0; }
  std::uint16_t Counter() const { return counter_; }
  void SetCounter(std::uint16_t value) { counter_ = value; }

  // The last step of a query cycle: writes a record when one is due, then
  // advances the counter. With an interval of 0 it does neither. Throws
  // IoError when the file cannot be written; the counter then stays, and
  // a record that failed part-way is taken back: the day file is left as
  // it was before it (a file that the record made is removed again).
  void Step(const PlayerLogSource& source);

  // Whether a record falls due at `counter` with `intervalSeconds`: the
  // counter is a multiple of twice the interval's magnitude, computed in 64
  // bits. An interval of 0 is never due. An interval whose double leaves the
  // 32-bit range (1073741824 and up, -1073741825 and down) gives a divisor
  // above the 16-bit counter's range, so its record is due only at 0.
  static bool RecordDue(std::uint16_t counter, std::int32_t intervalSeconds);

 private:
  void AppendRecord(const std::vector<PlayerRow>& rows);

  const Clock& clock_;
  std::string timeSeparator_;
  std::string folder_;
  std::uint16_t counter_ = 0;
};

}  // namespace kestrova
