#include "tools/query/plain_report.h"

#include "core/reply_text.h"

namespace kestrova {

std::string PlainQueryReport(const QuerySnapshot& snapshot) {
  std::string out;
  for (const int number : LabelReadingOrder()) {
    const auto index = static_cast<std::size_t>(number - 1);
    // A label no reply has set still shows its bare caption: no line.
    if (snapshot.labels[index] != InitialLabelCaptions()[index]) {
      out += snapshot.labels[index];
      out += '\n';
    }
  }
  // The hint breaks its lines with LF CR, which would garble a terminal.
  if (snapshot.hint != kInitialHint) {
    out += "hint: " + ReplaceAll("\n\r", " | ", snapshot.hint) + '\n';
  }
  for (const PlayerRow& row : snapshot.players) {
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
