#include "ui/form_query_display.h"

#include <QLabel>
#include <QListWidget>
#include <QStringList>
#include <stdexcept>

#include "ui/form_font.h"
#include "ui/notification_icon.h"
#include "ui/player_list.h"
#include "ui/text_bytes.h"

namespace kestrova {

namespace {

void ReplaceItems(QListWidget* list, const TokenList& tokens) {
  QStringList items;
  items.reserve(static_cast<qsizetype>(tokens.size()));
  for (const std::string& token : tokens) {
    items.append(ToDisplayText(token));
  }
  list->clear();
  list->addItems(items);
}

}  // namespace

QLabel* FormQueryDisplay::Label(int number) const {
  if (number < 1 || number > static_cast<int>(controls_.labels.size())) {
    throw std::out_of_range("no label " + std::to_string(number));
  }
  return controls_.labels[static_cast<std::size_t>(number - 1)];
}

std::string FormQueryDisplay::LabelText(int number) const { return FromDisplayText(Label(number)->text()); }

void FormQueryDisplay::SetLabelText(int number, const std::string& text) {
  QLabel* label = Label(number);
  label->setText(ToDisplayText(text));
  FitLabelToText(label);
}

void FormQueryDisplay::SetHint(const std::string& text) { controls_.tray->SetHint(text); }

void FormQueryDisplay::ClearRows() { controls_.players->ClearRows(); }

void FormQueryDisplay::AddRow(const std::string& caption) { controls_.players->AddRow(caption); }

void FormQueryDisplay::AppendSubItem(const std::string& text) { controls_.players->AppendSubItem(text); }

void FormQueryDisplay::ReplaceInfoList(const TokenList& tokens) { ReplaceItems(controls_.infoList, tokens); }

void FormQueryDisplay::ReplaceStatusList(const TokenList& tokens) { ReplaceItems(controls_.statusList, tokens); }

}  // namespace kestrova
