// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string_view>

namespace kestrova::simserver {

// Replies that a real server would cut are cut so that no datagram is
// longer than this.
inline constexpr std::size_t kMaxReplyDatagram = 1400;

// The out-of-band header of every reply on the game port.
inline constexpr std::string_view kReplyHeader = "\xFF\xFF\xFF\xFF\x01";

}  // namespace kestrova::simserver
