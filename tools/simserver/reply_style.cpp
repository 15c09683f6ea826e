// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/reply_style.h"

#include <stdexcept>
#include <string>

namespace kestrova::simserver {

void ReplyStyle::SetPrintCut(std::string_view value) {
  if (value != "anywhere" && value != "lines") {
    throw std::invalid_argument("printcut is anywhere or lines, not '" + std::string(value) + "'");
  }
  printCutAnywhere = value == "anywhere";
}

void ReplyStyle::SetFinalPlace(std::string_view value) {
  if (value != "before" && value != "after") {
    throw std::invalid_argument("final is before or after, not '" + std::string(value) + "'");
  }
  finalAfterQueryId = value == "after";
}

}  // namespace kestrova::simserver
