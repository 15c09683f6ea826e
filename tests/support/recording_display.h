#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/local_time.h"
#include "core/player_row.h"
#include "core/query_cycle.h"
#include "core/query_displays.h"
#include "support/fixed_clock.h"

namespace kestrova::test {

// Stands in for the main window in query tests: keeps the labels, the
// hint, the reply lists and the player rows as the window would (rows
// sorted by CompareCaptions, equal captions in the order they came), plays
// the cycle's controls and the endpoint fields, and logs every call.
class RecordingDisplay final : public QueryDisplay, public CycleControls, public EndpointSource {
 public:
  RecordingDisplay();

  // Endpoint fields, read by the queries; 127.0.0.1 and the default ports.
  std::uint32_t address = 0x7F000001;
  std::string gamePortText = "12203";
  std::string queryPortText = "12300";

  // Called after every logged call with its log entry; a test may run
  // code there as a window event handler would run inside a wait.
  std::function<void(const std::string& entry)> onCall;

  // Label1..Label11, starting with the form captions ("maxPing:", ...).
  const std::string& Label(int number) const;
  const std::string& Hint() const { return hint_; }
  int HintCount() const { return hintCount_; }
  const TokenList& InfoList() const { return infoList_; }
  const TokenList& StatusList() const { return statusList_; }
  const std::vector<PlayerRow>& Rows() const { return rows_; }
  bool TimerEnabled() const { return timerEnabled_; }
  bool StartButtonHidden() const { return startButtonHidden_; }
  const std::string& UpdateTime() const { return updateTime_; }
  int UpdateTimeCount() const { return updateTimeCount_; }

  // Every call in order, one entry each: "SetLabelText 8 hostname:  X",
  // "SetHint", "ReplaceInfoList 3", "ReplaceStatusList 0", "ClearRows",
  // "AddRow  bob", "AppendSubItem 4", "EnableTimer", "HideStartButton",
  // "SetUpdateTime 14:05:09"; a test may add its own with Log.
  const std::vector<std::string>& Calls() const { return calls_; }
  void Log(const std::string& entry);

  // Seeds the player list, as rows left from an earlier cycle.
  void SetRows(std::vector<PlayerRow> rows) {
    rows_ = std::move(rows);
    lastRow_ = rows_.size();
  }

  // InfoDisplay, StatusDisplay, ReplyLists
  std::string LabelText(int number) const override;
  void SetLabelText(int number, const std::string& text) override;
  void SetHint(const std::string& text) override;
  void ClearRows() override;
  void AddRow(const std::string& caption) override;
  void AppendSubItem(const std::string& text) override;
  void ReplaceInfoList(const TokenList& tokens) override;
  void ReplaceStatusList(const TokenList& tokens) override;

  // CycleControls
  void EnableTimer() override;
  void HideStartButton() override;
  void SetUpdateTime(const std::string& text) override;

  // EndpointSource
  std::uint32_t Address() const override { return address; }
  std::string GamePortText() const override { return gamePortText; }
  std::string QueryPortText() const override { return queryPortText; }

 private:
  std::array<std::string, 12> labels_;  // index 0 unused
  std::string hint_;
  int hintCount_ = 0;
  TokenList infoList_;
  TokenList statusList_;
  std::vector<PlayerRow> rows_;
  std::size_t lastRow_ = 0;
  bool timerEnabled_ = false;
  bool startButtonHidden_ = false;
  std::string updateTime_;
  int updateTimeCount_ = 0;
  std::vector<std::string> calls_;
};

}  // namespace kestrova::test
