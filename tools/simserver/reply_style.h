// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace kestrova::simserver {

// Details in which real servers of this family shape their well-formed
// replies differently; each can be switched for the test at hand.
struct ReplyStyle final {
  // Console output is cut into datagrams wherever kPrintPayload bytes of
  // text are full, inside a line too, as real servers cut it; or else
  // only between lines, each datagram holding whole lines.
  bool printCutAnywhere = true;
  // The "final" key of a status reply's last part stands after its
  // "\queryid\Q.P" marker rather than before it.
  bool finalAfterQueryId = false;

  // Sets printCutAnywhere from "anywhere" or "lines"; throws
  // std::invalid_argument for any other value.
  void SetPrintCut(std::string_view value);
  // Sets finalAfterQueryId from "before" or "after"; throws
  // std::invalid_argument for any other value.
  void SetFinalPlace(std::string_view value);
};

}  // namespace kestrova::simserver
