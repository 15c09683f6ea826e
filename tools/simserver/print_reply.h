#pragma once

#include <string>
#include <vector>

namespace kestrova::simserver {

// The datagrams that carry printed console `lines`: each begins with the
// reply header and "print" and a line feed, followed by whole lines each
// ended by a line feed, and none is longer than kMaxReplyDatagram. A line
// too long for one datagram is cut into pieces, and only its last piece
// carries the line feed. No lines give one datagram with the bare header.
std::vector<std::string> PrintDatagrams(const std::vector<std::string>& lines);

}  // namespace kestrova::simserver
