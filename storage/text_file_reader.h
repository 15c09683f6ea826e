// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/posix_file.h"

namespace kestrova {

// Reads a single-byte text file by the rules of the classic text-file
// reader that wrote and read "data.dat":
// - a line ends at CR, and an LF right after that CR belongs to the same
//   line end; an LF on its own is part of the line's text;
// - the byte 1A ends the readable content wherever it stands, as does the
//   end of the file;
// - reading at the end of the content never fails: skipping a line does
//   nothing and reading a line gives "".
// Read errors of the file throw IoError.
class TextFileReader final {
 public:
  explicit TextFileReader(PosixFile& file) : file_(file) {}

  // Moves past the next line end (or to the end of the content).
  void SkipLine();

  // The text up to, not including, the next line end; nothing trimmed.
  std::string ReadLine();

  // Skips every character with a code of 32 or lower, across line ends, then
  // takes at most 32 characters up to the next such character, which stays
  // unread, and converts them (IntegerTokenValue). The end of the content
  // before any token gives 0. Throws IoError 106 for an invalid token.
  std::int64_t ReadIntegerToken();

 private:
  static constexpr int kEnd = -1;
  static constexpr std::size_t kTokenLimit = 32;

  // The next byte (0..255) without consuming it, or kEnd.
  int Peek();
  void Advance() { ++position_; }
  // Consumes the rest of the line and its end, keeping the text in `text`
  // unless it is null.
  void ConsumeLine(std::string* text);

  PosixFile& file_;
  std::array<char, 4096> buffer_{};
  std::size_t position_ = 0;
  std::size_t size_ = 0;
  bool ended_ = false;
};

}  // namespace kestrova
