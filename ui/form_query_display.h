#pragma once

#include <array>
#include <string>

#include "core/query_displays.h"

class QLabel;

namespace kestrova {

class PlayerList;
class TNotificationIcon;

// Shows `text` in `label` and fits the label to it, unless the label shows
// that text already: an unchanged label is neither measured nor repainted.
void ShowLabelText(QLabel* label, const std::string& text);

// Shows what the queries find in the window's controls: Label1..Label11,
// the reply lists ListBox1 and ListBox2, the player list and the tray
// icon's hint. Each write changes only what differs from what is shown.
class FormQueryDisplay final : public QueryDisplay {
 public:
  struct Controls {
    std::array<QLabel*, 11> labels;  // Label1 .. Label11
    TokenList* infoList;             // ListBox1
    TokenList* statusList;           // ListBox2
    PlayerList* players;             // ListView1
    TNotificationIcon* tray;         // NotificationIcon1
  };

  explicit FormQueryDisplay(Controls controls) : controls_(controls) {}

  std::string LabelText(int number) const override;
  void SetLabelText(int number, const std::string& text) override;
  void SetHint(const std::string& text) override;
  void ClearRows() override;
  void AddRow(const std::string& caption) override;
  void AppendSubItem(const std::string& text) override;
  void ReplaceInfoList(const TokenList& tokens) override;
  void ReplaceStatusList(const TokenList& tokens) override;

 private:
  QLabel* Label(int number) const;

  Controls controls_;
};

}  // namespace kestrova
