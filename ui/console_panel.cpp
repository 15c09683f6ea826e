#include "ui/console_panel.h"

#include <QLineEdit>

#include "ui/console_list.h"
#include "ui/text_bytes.h"

namespace kestrova {

ConsolePanel::ConsolePanel(ConsoleList& output, QLineEdit& prefix, QLineEdit& command)
    : output_(output), prefix_(prefix), command_(command) {}

void ConsolePanel::SetOpen(bool open) {
  for (QWidget* control :
       {static_cast<QWidget*>(&output_), static_cast<QWidget*>(&prefix_), static_cast<QWidget*>(&command_)}) {
    control->setVisible(open);
    control->setEnabled(open);
  }
}

void ConsolePanel::ClearPrefix() { prefix_.clear(); }

void ConsolePanel::Send(ConsoleExchange& exchange) { EnterCommand(*this, exchange, output_); }

std::string ConsolePanel::CommandText() const { return FromDisplayText(command_.text()); }

void ConsolePanel::SetCommandText(const std::string& text) {
  const QString shown = ToDisplayText(text);
  command_.setText(shown);
  command_.setCursorPosition(static_cast<int>(shown.size()));
}

std::string ConsolePanel::PrefixText() const { return FromDisplayText(prefix_.text()); }

}  // namespace kestrova
