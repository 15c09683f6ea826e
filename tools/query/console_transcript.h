// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "console/console_output.h"

namespace kestrova {

// A console output list that only keeps its lines, for printing them once
// the command has run. There is no view to scroll.
class ConsoleTranscript final : public ConsoleOutput {
 public:
  void AppendLine(const std::string& line) override { lines_.push_back(line); }
  int LineCount() const override { return static_cast<int>(lines_.size()); }
  void Clear() override { lines_.clear(); }
  void ScrollToLastLine() override {}
  // Told apart from the lines: the tool says it on standard error.
  void NoteIncomplete() override { mayBeIncomplete_ = true; }

  const std::vector<std::string>& Lines() const { return lines_; }
  bool MayBeIncomplete() const { return mayBeIncomplete_; }

 private:
  std::vector<std::string> lines_;
  bool mayBeIncomplete_ = false;
};

}  // namespace kestrova
