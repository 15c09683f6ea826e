#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "core/query_displays.h"
#include "core/server_events.h"

namespace kestrova {

// Stands between a query cycle and the display it writes to: passes every
// write on unchanged and notes what the cycle learnt about the server, for
// telling what changed from one cycle to the next.
class CycleRecorder final : public QueryDisplay {
 public:
  explicit CycleRecorder(QueryDisplay& display) : display_(display) {}

  std::string LabelText(int number) const override;
  void SetLabelText(int number, const std::string& text) override;
  void SetHint(const std::string& text) override;
  void ClearRows() override;
  void AddRow(const std::string& caption) override;
  void AppendSubItem(const std::string& text) override;
  void StatusIncomplete() override;
  void ReplaceInfoList(const TokenList& tokens) override;
  void ReplaceStatusList(const TokenList& tokens) override;

  // What the cycle that just ended told, stamped `at` and named `endpoint`,
  // and starts afresh for the next one. The player names count only when
  // the cycle `completed` without a failure after a status reply came
  // whole (an incomplete one shows the server answers, but no names); an
  // info value counts when its label was set. A cycle that completed
  // without replacing the info list did not ask for it: its info query was
  // skipped.
  CycleResult Finish(bool completed, std::chrono::milliseconds at, const std::string& endpoint);

 private:
  QueryDisplay& display_;
  CycleResult result_;
  std::vector<std::string> names_;
  bool infoListReplaced_ = false;
  bool statusIncomplete_ = false;
};

}  // namespace kestrova
