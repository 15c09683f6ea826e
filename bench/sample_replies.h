#pragma once

#include <string>

namespace kestrova::bench {

// An info reply as a well-filled server sends it, out-of-band header included.
std::string SampleInfoReply();

// A "\status\" reply listing `players` players with names of two words.
std::string SampleStatusReply(int players);

}  // namespace kestrova::bench
