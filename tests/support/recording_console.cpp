// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/recording_console.h"

namespace kestrova::test {

void RecordingConsole::AppendLine(const std::string& line) {
  lines.push_back(line);
  if (onAppend) {
    onAppend(line);
  }
}

}  // namespace kestrova::test
