#include "tools/query/query_snapshot.h"

#include <algorithm>
#include <stdexcept>

#include "core/caption_order.h"

namespace kestrova {

namespace {

std::size_t LabelIndex(int number) {
  if (number < 1 || number > kLabelCount) {
    throw std::out_of_range("no label number " + std::to_string(number));
  }
  return static_cast<std::size_t>(number - 1);
}

}  // namespace

const std::array<std::string, kLabelCount>& InitialLabelCaptions() {
  static const std::array<std::string, kLabelCount> captions = {
      "maxPing:", "pure:",    "gametypestring:", "gametype:",  "sv_maxclients:", "clients:",
      "mapname:", "hostname:", "protocol:",      "fraglimit:", "timelimit:",
  };
  return captions;
}

const std::array<int, kLabelCount>& LabelReadingOrder() {
  static const std::array<int, kLabelCount> order = {8, 2, 3, 4, 7, 6, 5, 10, 11, 1, 9};
  return order;
}

RecordingQueryDisplay::RecordingQueryDisplay() {
  snapshot_.labels = InitialLabelCaptions();
  snapshot_.hint = std::string(kInitialHint);
}

std::string RecordingQueryDisplay::LabelText(int number) const { return snapshot_.labels[LabelIndex(number)]; }

void RecordingQueryDisplay::SetLabelText(int number, const std::string& text) {
  snapshot_.labels[LabelIndex(number)] = text;
}

void RecordingQueryDisplay::SetHint(const std::string& text) { snapshot_.hint = text; }

void RecordingQueryDisplay::ClearRows() {
  snapshot_.players.clear();
  currentRow_.reset();
}

void RecordingQueryDisplay::AddRow(const std::string& caption) {
  std::vector<PlayerRow>& rows = snapshot_.players;
  const auto place = std::upper_bound(rows.begin(), rows.end(), caption, [](const std::string& a, const PlayerRow& b) {
    return CompareCaptions(a, b.caption) < 0;
  });
  currentRow_ = static_cast<std::size_t>(place - rows.begin());
  rows.insert(place, PlayerRow{caption, {}});
}

void RecordingQueryDisplay::AppendSubItem(const std::string& text) {
  if (!currentRow_) {
    throw std::logic_error("a sub-item needs a row");
  }
  snapshot_.players[*currentRow_].subItems.push_back(text);
}

void RecordingQueryDisplay::ReplaceInfoList(const TokenList& tokens) { snapshot_.infoList = tokens; }

void RecordingQueryDisplay::ReplaceStatusList(const TokenList& tokens) { snapshot_.statusList = tokens; }

}  // namespace kestrova
