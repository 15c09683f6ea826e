// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "console/console_reply.h"

namespace kestrova {

// The console output list (ListBox3) as the console logic sees it.
class ConsoleOutput {
 public:
  virtual ~ConsoleOutput() = default;
  virtual void AppendLine(const std::string& line) = 0;
  virtual int LineCount() const = 0;
  virtual void Clear() = 0;
  // Makes the last line the top visible one (the list scrolls as far down as it can).
  virtual void ScrollToLastLine() = 0;
  // The output just shown may lack a part that was lost on the way: one
  // line says so, below it.
  virtual void NoteIncomplete() { AppendLine(std::string("[") + kIncompleteOutputText + "]"); }
};

}  // namespace kestrova
