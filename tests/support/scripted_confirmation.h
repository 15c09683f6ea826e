// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "console/remote_commands.h"

namespace kestrova::test {

// The Yes/No question of the kick and the map change, answered from a
// script (Yes once it runs out); keeps the questions.
class ScriptedConfirmation final : public Confirmation {
 public:
  explicit ScriptedConfirmation(std::deque<bool> script = {}) : answers(std::move(script)) {}
  bool Confirm(const std::string& message) override {
    questions.push_back(message);
    if (onConfirm) {
      onConfirm();
    }
    if (answers.empty()) {
      return true;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }

  std::deque<bool> answers;
  std::vector<std::string> questions;
  // Runs while the question is open, as window events would.
  std::function<void()> onConfirm;
};

}  // namespace kestrova::test
