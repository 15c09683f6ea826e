// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QListWidget>

#include "console/console_output.h"

namespace kestrova {

// The console output list (ListBox3): printed lines appended at the end,
// scrolled so the newest are in view.
class ConsoleList final : public QListWidget, public ConsoleOutput {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(ConsoleList)

 public:
  explicit ConsoleList(QWidget* parent = nullptr);

  void AppendLine(const std::string& line) override;
  int LineCount() const override;
  void Clear() override;
  void ScrollToLastLine() override;
};

}  // namespace kestrova
