// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestrova::simserver {

// How much printed text a real server puts into one console reply
// datagram, behind its header and "print\n".
inline constexpr std::size_t kPrintPayload = 1000;

// The datagrams that carry printed console `lines`, each line ended by a
// line feed. Every datagram begins with the reply header and "print" and a
// line feed. Cut `anywhere`, the text is cut after every kPrintPayload
// bytes, inside a line too, as real servers cut it. Otherwise each
// datagram holds whole lines and is at most kMaxReplyDatagram long; a line
// too long for one datagram is cut into pieces, and only its last piece
// carries the line feed. No lines give one datagram with the bare header.
std::vector<std::string> PrintDatagrams(const std::vector<std::string>& lines, bool anywhere);

}  // namespace kestrova::simserver
