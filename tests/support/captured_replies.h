// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kestrova::test {

// The datagrams of one reply captured from a real server, in arrival order:
// tests/data/peer-replies/NAME.1.bin, NAME.2.bin and so on up to the first
// number that is missing. Throws std::runtime_error when there is no
// NAME.1.bin.
std::vector<std::string> CapturedDatagrams(const std::string& name);

}  // namespace kestrova::test
