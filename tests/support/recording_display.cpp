#include "support/recording_display.h"

#include <algorithm>
#include <stdexcept>

#include "core/caption_order.h"

namespace kestrova::test {

RecordingDisplay::RecordingDisplay()
    : labels_{"",         "maxPing:", "pure:",     "gametypestring:", "gametype:",  "sv_maxclients:",
              "clients:", "mapname:", "hostname:", "protocol:",       "fraglimit:", "timelimit:"} {}

const std::string& RecordingDisplay::Label(int number) const {
  if (number < 1 || number > 11) {
    throw std::out_of_range("no such label: " + std::to_string(number));
  }
  return labels_[static_cast<std::size_t>(number)];
}

void RecordingDisplay::Log(const std::string& entry) {
  calls_.push_back(entry);
  if (onCall) {
    onCall(entry);
  }
}

std::string RecordingDisplay::LabelText(int number) const { return Label(number); }

void RecordingDisplay::SetLabelText(int number, const std::string& text) {
  Label(number);  // range check
  labels_[static_cast<std::size_t>(number)] = text;
  Log("SetLabelText " + std::to_string(number) + " " + text);
}

void RecordingDisplay::SetHint(const std::string& text) {
  hint_ = text;
  ++hintCount_;
  Log("SetHint");
}

void RecordingDisplay::ClearRows() {
  rows_.clear();
  Log("ClearRows");
}

void RecordingDisplay::AddRow(const std::string& caption) {
  // After the last row whose caption sorts before or equal to this one.
  const auto place = std::upper_bound(
      rows_.begin(), rows_.end(), caption,
      [](const std::string& text, const PlayerRow& row) { return CompareCaptions(text, row.caption) < 0; });
  lastRow_ = static_cast<std::size_t>(place - rows_.begin());
  rows_.insert(place, PlayerRow{caption, {}});
  Log("AddRow " + caption);
}

void RecordingDisplay::AppendSubItem(const std::string& text) {
  if (lastRow_ >= rows_.size()) {
    throw std::logic_error("AppendSubItem without a row");
  }
  rows_[lastRow_].subItems.push_back(text);
  Log("AppendSubItem " + text);
}

void RecordingDisplay::ReplaceInfoList(const TokenList& tokens) {
  infoList_ = tokens;
  Log("ReplaceInfoList " + std::to_string(tokens.size()));
}

void RecordingDisplay::ReplaceStatusList(const TokenList& tokens) {
  statusList_ = tokens;
  Log("ReplaceStatusList " + std::to_string(tokens.size()));
}

void RecordingDisplay::EnableTimer() {
  timerEnabled_ = true;
  Log("EnableTimer");
}

void RecordingDisplay::HideStartButton() {
  startButtonHidden_ = true;
  Log("HideStartButton");
}

void RecordingDisplay::SetUpdateTime(const std::string& text) {
  updateTime_ = text;
  ++updateTimeCount_;
  Log("SetUpdateTime " + text);
}

}  // namespace kestrova::test
