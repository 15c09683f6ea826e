#include "tools/query/plain_report.h"

#include "core/reply_text.h"

namespace kestrova {

std::string PlainQueryReport(const QuerySnapshot& snapshot) {
  std::string out;
  for (const int number : LabelReadingOrder()) {
    out += snapshot.labels[static_cast<std::size_t>(number - 1)];
    out += '\n';
  }
  // The hint breaks its lines with LF CR, which would garble a terminal.
  out += "hint: " + ReplaceAll("\n\r", " | ", snapshot.hint) + '\n';
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
