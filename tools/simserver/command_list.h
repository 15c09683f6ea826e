// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kestrova::simserver {

// The names of the console commands the server claims to know, as cmdlist
// prints them: a few hundred, so their listing spans several datagrams.
std::vector<std::string> CommandNames();

}  // namespace kestrova::simserver
