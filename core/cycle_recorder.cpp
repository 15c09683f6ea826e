#include "core/cycle_recorder.h"

#include <optional>
#include <string_view>
#include <utility>

namespace kestrova {

namespace {

// The value behind "KEY: " in a label the info query set; nothing for a
// label of another key.
std::optional<std::string> LabelValue(std::string_view key, const std::string& text) {
  const std::string prefix = std::string(key) + ": ";
  if (!text.starts_with(prefix)) {
    return std::nullopt;
  }
  return text.substr(prefix.size());
}

}  // namespace

std::string CycleRecorder::LabelText(int number) const { return display_.LabelText(number); }

void CycleRecorder::SetLabelText(int number, const std::string& text) {
  display_.SetLabelText(number, text);
  switch (number) {
    case 5:
      result_.maxClients = LabelValue("sv_maxclients", text);
      break;
    case 6:
      result_.clients = LabelValue("clients", text);
      break;
    case 7:
      result_.map = LabelValue("mapname", text);
      break;
    case 8:
      // The host-name join puts one blank before every word, the first too.
      result_.hostName = LabelValue("hostname", text);
      if (result_.hostName && result_.hostName->starts_with(' ')) {
        result_.hostName->erase(0, 1);
      }
      break;
    default:
      break;
  }
}

void CycleRecorder::SetHint(const std::string& text) { display_.SetHint(text); }

void CycleRecorder::ClearRows() {
  display_.ClearRows();
  names_.clear();
}

void CycleRecorder::AddRow(const std::string& caption) {
  display_.AddRow(caption);
  // A caption is the joined name behind one blank.
  names_.push_back(caption.starts_with(' ') ? caption.substr(1) : caption);
}

void CycleRecorder::AppendSubItem(const std::string& text) { display_.AppendSubItem(text); }

void CycleRecorder::StatusIncomplete() {
  display_.StatusIncomplete();
  result_.statusAnswered = true;
  statusIncomplete_ = true;
}

void CycleRecorder::ReplaceInfoList(const TokenList& tokens) {
  display_.ReplaceInfoList(tokens);
  result_.infoAnswered = !tokens.empty();
  infoListReplaced_ = true;
}

void CycleRecorder::ReplaceStatusList(const TokenList& tokens) {
  display_.ReplaceStatusList(tokens);
  result_.statusAnswered = !tokens.empty();
}

CycleResult CycleRecorder::Finish(bool completed, std::chrono::milliseconds at, const std::string& endpoint) {
  CycleResult result = std::exchange(result_, CycleResult{});
  result.at = at;
  result.endpoint = endpoint;
  // The info query replaces the list or fails; a cycle that ends well
  // without either left it out.
  result.infoSkipped = completed && !infoListReplaced_;
  infoListReplaced_ = false;
  if (completed && result.statusAnswered && !statusIncomplete_) {
    result.players = std::move(names_);
  }
  names_.clear();
  statusIncomplete_ = false;
  return result;
}

}  // namespace kestrova
