// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/display_model.h"
#include "core/endpoint_source.h"
#include "core/query_cycle.h"

namespace kestrova::test {

// The endpoint fields as a test sets them; 127.0.0.1 and the default ports.
struct TestEndpoint : EndpointSource {
  std::uint32_t address = 0x7F000001;
  std::string gamePortText = "12203";
  std::string queryPortText = "12300";

  std::uint32_t Address() const override { return address; }
  std::string GamePortText() const override { return gamePortText; }
  std::string QueryPortText() const override { return queryPortText; }
};

// The window as the queries meet it: the endpoint fields they read, the
// model they write and the cycle's controls. `calls` lists every control
// call and every change notice of the model in order: "EnableTimer",
// "HideStartButton", "SetUpdateTime 14:05:09", "Label 7", "Hint", "Rows";
// a test may add its own with Log.
class QueryWindow final : public TestEndpoint, public CycleControls, public DisplayObserver {
 public:
  QueryWindow() { shown.SetObserver(this); }
  QueryWindow(const QueryWindow&) = delete;
  QueryWindow& operator=(const QueryWindow&) = delete;

  DisplayModel shown;
  std::vector<std::string> calls;
  // Called after every logged call with its entry; a test may run code
  // there as a window event handler would run inside a wait.
  std::function<void(const std::string& entry)> onCall;
  std::string updateTime;

  void Log(const std::string& entry) {
    calls.push_back(entry);
    if (onCall) {
      onCall(entry);
    }
  }
  // How many logged calls begin with `prefix`.
  long Count(std::string_view prefix) const {
    return std::count_if(calls.begin(), calls.end(), [&](const std::string& call) { return call.starts_with(prefix); });
  }

  void EnableTimer() override { Log("EnableTimer"); }
  void HideStartButton() override { Log("HideStartButton"); }
  void SetUpdateTime(const std::string& text) override {
    updateTime = text;
    Log("SetUpdateTime " + text);
  }
  void LabelChanged(ShownLabel label) override { Log("Label " + std::to_string(static_cast<int>(label))); }
  void HintChanged() override { Log("Hint"); }
  void RowsChanged() override { Log("Rows"); }
};

}  // namespace kestrova::test
