// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "tools/query/query_snapshot.h"

namespace kestrova {

// The snapshot as lines of text, bytes unchanged: the label texts in the
// window's reading order, one per line; then "hint: " and the hint with each
// line feed + carriage return pair shown as " | "; then one line per player
// row, its caption and sub-items separated by tabs. A label that no reply
// set (it still shows its bare caption) and a hint that none set have no
// line, so a server that did not answer prints nothing. Every line ends
// with a line feed.
std::string PlainQueryReport(const QuerySnapshot& snapshot);

// The console lines, each followed by a line feed.
std::string PlainConsoleReport(const std::vector<std::string>& lines);

}  // namespace kestrova
