#include "ui/form_query_display.h"

#include <QLabel>
#include <stdexcept>

#include "ui/form_font.h"
#include "ui/notification_icon.h"
#include "ui/player_list.h"
#include "ui/text_bytes.h"

namespace kestrova {

void ShowLabelText(QLabel* label, const std::string& text) {
  const QString shown = ToDisplayText(text);
  if (label->text() == shown) {
    return;
  }
  label->setText(shown);
  FitLabelToText(label);
}

QLabel* FormQueryDisplay::Label(int number) const {
  if (number < 1 || number > static_cast<int>(controls_.labels.size())) {
    throw std::out_of_range("no label " + std::to_string(number));
  }
  return controls_.labels[static_cast<std::size_t>(number - 1)];
}

std::string FormQueryDisplay::LabelText(int number) const { return FromDisplayText(Label(number)->text()); }

void FormQueryDisplay::SetLabelText(int number, const std::string& text) { ShowLabelText(Label(number), text); }

void FormQueryDisplay::SetHint(const std::string& text) { controls_.tray->SetHint(text); }

void FormQueryDisplay::ClearRows() { controls_.players->ClearRows(); }

void FormQueryDisplay::AddRow(const std::string& caption) { controls_.players->AddRow(caption); }

void FormQueryDisplay::AppendSubItem(const std::string& text) { controls_.players->AppendSubItem(text); }

// Assigning reuses the lists' storage: a reply like the last one allocates
// nothing.
void FormQueryDisplay::ReplaceInfoList(const TokenList& tokens) { *controls_.infoList = tokens; }

void FormQueryDisplay::ReplaceStatusList(const TokenList& tokens) { *controls_.statusList = tokens; }

}  // namespace kestrova
