// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <string>

#include "console/command_entry.h"
#include "ui/console_list.h"
#include "ui/text_bytes.h"

namespace kestrova {

// The console panel: the output list (ListBox3), the prefix field (Edit5)
// and the command line (Edit4).
class ConsolePanel final : public CommandLineFields {
 public:
  ConsolePanel(ConsoleList& output, QLineEdit& prefix, QLineEdit& command)
      : output_(output), prefix_(prefix), command_(command) {}

  // Shows and enables the panel's controls, or hides and disables them.
  void SetOpen(bool open) {
    for (QWidget* control :
         {static_cast<QWidget*>(&output_), static_cast<QWidget*>(&prefix_), static_cast<QWidget*>(&command_)}) {
      control->setVisible(open);
      control->setEnabled(open);
    }
  }

  // The command line gets the focus or a click: it is pre-filled.
  void Prefill() { PrefillCommandLine(*this); }
  // Enter in the command line: the command goes out on `exchange`, its
  // reply into the output list. Throws as EnterCommand.
  void Send(ConsoleExchange& exchange) { EnterCommand(*this, exchange, output_); }

  std::string CommandText() const override { return FromDisplayText(command_.text()); }
  void SetCommandText(const std::string& text) override {
    const QString shown = ToDisplayText(text);
    command_.setText(shown);
    command_.setCursorPosition(static_cast<int>(shown.size()));
  }
  std::string PrefixText() const override { return FromDisplayText(prefix_.text()); }

 private:
  ConsoleList& output_;
  QLineEdit& prefix_;
  QLineEdit& command_;
};

}  // namespace kestrova
