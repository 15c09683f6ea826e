// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console/console_output.h"

namespace kestrova::test {

// A console output list that keeps its lines and counts its scrolls.
class RecordingConsole final : public ConsoleOutput {
 public:
  void AppendLine(const std::string& line) override;
  int LineCount() const override { return static_cast<int>(lines.size()); }
  void Clear() override { lines.clear(); }
  void ScrollToLastLine() override { ++scrolls; }

  std::vector<std::string> lines;
  int scrolls = 0;
  // Called after each appended line, to act from inside the output.
  std::function<void(const std::string&)> onAppend;
};

}  // namespace kestrova::test
