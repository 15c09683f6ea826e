#pragma once

#include <string>

#include "core/query_displays.h"

namespace kestrova::bench {

// A query display that keeps nothing but a count of what it was told, so
// that a benchmark measures the parsing and not the display.
class NullDisplay final : public QueryDisplay {
 public:
  std::string LabelText(int) const override { return {}; }
  void SetLabelText(int, const std::string&) override { ++writes; }
  void SetHint(const std::string&) override { ++writes; }
  void ClearRows() override { rows = 0; }
  void AddRow(const std::string&) override { ++rows; }
  void AppendSubItem(const std::string&) override { ++writes; }
  void ReplaceInfoList(const TokenList& tokens) override { tokens_ = tokens.size(); }
  void ReplaceStatusList(const TokenList& tokens) override { tokens_ = tokens.size(); }

  long long writes = 0;
  int rows = 0;

 private:
  std::size_t tokens_ = 0;
};

}  // namespace kestrova::bench
