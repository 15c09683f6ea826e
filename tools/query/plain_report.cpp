// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/query/plain_report.h"

#include "core/reply_text.h"

namespace kestrova {

std::string PlainQueryReport(const QuerySnapshot& snapshot) {
  std::string out;
  const DisplayModel& shown = snapshot.shown;
  for (const ShownLabel label : DisplayModel::ReadingOrder()) {
    // A label no reply has set still shows its bare caption: no line.
    if (shown.Label(label) != DisplayModel::InitialCaption(label)) {
      out += shown.Label(label);
      out += '\n';
    }
  }
  // The hint breaks its lines with LF CR, which would garble a terminal.
  if (shown.Hint() != kInitialHint) {
    out += "hint: " + ReplaceAll("\n\r", " | ", shown.Hint()) + '\n';
  }
  for (const PlayerRow& row : shown.Rows()) {
    out += row.caption;
    for (const std::string& item : row.subItems) {
      out += '\t';
      out += item;
    }
    out += '\n';
  }
  return out;
}

std::string PlainConsoleReport(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += '\n';
  }
  return out;
}

}  // namespace kestrova
