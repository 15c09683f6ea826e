// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "ui/dialogs.h"

namespace kestrova::test {

// The error display, keeping each message instead of showing it.
class RecordingErrors final : public ErrorDisplay {
 public:
  void ShowError(const std::string& message) override { messages.push_back(message); }
  std::vector<std::string> messages;
};

}  // namespace kestrova::test
