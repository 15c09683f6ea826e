// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kestrova::bench {

// An info reply as a well-filled server sends it, out-of-band header included.
std::string SampleInfoReply();

// A "\status\" reply listing `players` players with names of two words.
// Replies of neighbouring rounds differ as a live server's do from one
// second to the next: every ping, the frags of one player and the deaths
// of another.
std::string SampleStatusReply(int players, int round = 0);

}  // namespace kestrova::bench
