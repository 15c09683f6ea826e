// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the reply targets read back from the model a reply reader wrote.

#include <map>
#include <string>

#include "core/display_model.h"

namespace kestrova::fuzz {

// The labels a reader set: each that no longer shows its initial caption,
// by number.
inline std::map<int, std::string> SetLabels(const DisplayModel& shown) {
  std::map<int, std::string> set;
  for (int number = 1; number <= kShownLabelCount; ++number) {
    const auto label = static_cast<ShownLabel>(number);
    if (shown.Label(label) != DisplayModel::InitialCaption(label)) {
      set[number] = shown.Label(label);
    }
  }
  return set;
}

// Whether two models show the same, rows in the reply's order.
inline bool SameShown(const DisplayModel& a, const DisplayModel& b) {
  return SetLabels(a) == SetLabels(b) && a.Hint() == b.Hint() && a.RowsInReplyOrder() == b.RowsInReplyOrder() &&
         a.InfoList() == b.InfoList() && a.StatusList() == b.StatusList();
}

}  // namespace kestrova::fuzz
