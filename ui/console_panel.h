#pragma once

#include <QWidget>
#include <string>

#include "console/command_entry.h"

class QLineEdit;

namespace kestrova {

class ConsoleList;

// The console panel: the output list (ListBox3), the prefix field (Edit5)
// and the command line (Edit4).
class ConsolePanel final : public CommandLineFields {
 public:
  ConsolePanel(ConsoleList& output, QLineEdit& prefix, QLineEdit& command);

  // Shows and enables the panel's controls, or hides and disables them.
  void SetOpen(bool open);

  // The command line gets the focus or a click: it is pre-filled.
  void Prefill() { PrefillCommandLine(*this); }
  // A click into the prefix field empties it.
  void ClearPrefix();
  // Enter in the command line: the command goes out on `exchange`, its
  // reply into the output list. Throws as EnterCommand.
  void Send(ConsoleExchange& exchange);

  std::string CommandText() const override;
  void SetCommandText(const std::string& text) override;
  std::string PrefixText() const override;

 private:
  ConsoleList& output_;
  QLineEdit& prefix_;
  QLineEdit& command_;
};

}  // namespace kestrova
