#pragma once

#include <array>

#include "core/query_displays.h"

class QLabel;
class QListWidget;

namespace kestrova {

class PlayerList;
class TNotificationIcon;

// Shows what the queries find in the window's controls: Label1..Label11,
// the hidden reply lists ListBox1 and ListBox2, the player list and the
// tray icon's hint.
class FormQueryDisplay final : public QueryDisplay {
 public:
  struct Controls {
    std::array<QLabel*, 11> labels;  // Label1 .. Label11
    QListWidget* infoList;           // ListBox1
    QListWidget* statusList;         // ListBox2
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
