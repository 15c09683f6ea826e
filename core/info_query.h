// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "core/datagram_client.h"
#include "core/display_model.h"
#include "core/endpoint_source.h"

namespace kestrova {

// The 16-byte request behind the out-of-band header: FF FF FF FF 02 "getinfo xxx".
std::string InfoRequest();

// The out-of-band header that begins every datagram to the game port.
inline constexpr char kOutOfBandHeader[] = "\xFF\xFF\xFF\xFF\x02";

// Whether an info reply list is a valid info reply: its token 0 is
// "infoResponse".
bool IsInfoReply(const TokenList& tokens);

// Reads one received info reply: replaces the info reply list, and for a
// valid reply (IsInfoReply) sets Label1..Label9 and, from the first key
// position read on, the hint. Returns whether the reply was valid. Throws
// std::out_of_range when a key or the host name runs off the end of the
// list.
bool ShowInfoReply(const std::string& received, DisplayModel& shown);

// Points `udp1` at the address and game port, drops a flood's backlog
// (DropFloodBacklog), sends the info request and receives one datagram
// within the client's time-out: the reply, or the empty text on time-out.
// Throws ConversionError or SocketError.
std::string RequestInfo(DatagramClient& udp1, const EndpointSource& endpoint);

// Asks the server's game port for its settings through `udp1` and shows the
// reply in Label1..Label9 and the tray hint. Returns whether the reply was a
// valid info reply (its token 0 is "infoResponse"); a time-out is no failure
// and gives false. Throws ConversionError, SocketError or
// std::out_of_range (a key or host name running off the reply); what was set
// before the failure stays.
bool QueryInfo(DatagramClient& udp1, const EndpointSource& endpoint, DisplayModel& shown);

}  // namespace kestrova
