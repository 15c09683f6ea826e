#pragma once

// A plain stand-in for the window's labels, reply lists and player rows,
// for the reply targets: rows are kept in the order they came.

#include <map>
#include <string>
#include <vector>

#include "core/player_row.h"
#include "core/query_displays.h"

namespace kestrova::fuzz {

class RecordingQueryDisplay final : public QueryDisplay {
 public:
  std::map<int, std::string> labels;
  std::string hint;
  int hintCount = 0;
  TokenList infoList;
  TokenList statusList;
  std::vector<PlayerRow> rows;

  std::string LabelText(int number) const override {
    const auto found = labels.find(number);
    return found == labels.end() ? std::string() : found->second;
  }
  void SetLabelText(int number, const std::string& text) override { labels[number] = text; }
  void SetHint(const std::string& text) override {
    hint = text;
    ++hintCount;
  }
  void ClearRows() override { rows.clear(); }
  void AddRow(const std::string& caption) override { rows.push_back(PlayerRow{caption, {}}); }
  void AppendSubItem(const std::string& text) override { rows.back().subItems.push_back(text); }
  void ReplaceInfoList(const TokenList& tokens) override { infoList = tokens; }
  void ReplaceStatusList(const TokenList& tokens) override { statusList = tokens; }

  bool operator==(const RecordingQueryDisplay& other) const {
    return labels == other.labels && hint == other.hint && hintCount == other.hintCount && infoList == other.infoList &&
           statusList == other.statusList && rows == other.rows;
  }
};

}  // namespace kestrova::fuzz
