// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <exception>
#include <string>

namespace kestrova {

// What a failure says to a user of the command-line tools, on one line.
// A socket error carries the Windows Sockets number that the window
// programs show ("Socket Error # 10051" and its description); here it is
// the system's own text for the error instead ("Network is unreachable").
// Any other failure keeps its message, line breaks turned into ": ".
std::string ToolErrorText(const std::exception& failure);

}  // namespace kestrova
