// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "core/display_model.h"

namespace kestrova {

// What one query cycle left on show, as the tool prints it.
struct QuerySnapshot {
  // Whether the info reply list begins with "infoResponse", the test that
  // lets the status query run.
  bool valid = false;
  // Whether an info reply came at all; a time-out leaves it false.
  bool answered = false;
  // The labels, hint, player rows and reply lists as the window would
  // show them.
  DisplayModel shown;
  // The message of the failure that ended the cycle, if one did.
  std::optional<std::string> error;
  // The status reply lacked a part even after the one retry; no rows were taken from it.
  bool statusIncomplete = false;
  // The info reply as it came, before any cleaning; empty without one.
  std::string infoReply;
  // How long the cycle took, from the info request to its end.
  double durationSeconds = 0.0;
};

}  // namespace kestrova
