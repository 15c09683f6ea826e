// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/query/error_text.h"

#include <optional>
#include <string>
#include <system_error>

#include "core/reply_text.h"
#include "core/socket_error.h"

namespace kestrova {

namespace {

// The errno value whose socket error code is `code`, if there is one. The
// core maps errno values to codes; the codes it made are found by going
// through the values once.
std::optional<int> ErrnoOfSocketCode(int code) {
  constexpr int kHighestErrno = 4095;
  for (int value = 1; value <= kHighestErrno; ++value) {
    if (SocketCodeFromErrno(value) == code) {
      return value;
    }
  }
  return std::nullopt;
}

}  // namespace

std::string ToolErrorText(const std::exception& failure) {
  if (const auto* socketError = dynamic_cast<const SocketError*>(&failure)) {
    if (const std::optional<int> value = ErrnoOfSocketCode(socketError->Code())) {
      // The generic category gives strerror's text, safely on any thread.
      return std::generic_category().message(*value);
    }
    return "socket error " + std::to_string(socketError->Code());
  }
  std::string line = ReplaceAll("\r\n", ": ", failure.what());
  if (line.ends_with(": ")) {
    line.resize(line.size() - 2);
  }
  return line;
}

}  // namespace kestrova
