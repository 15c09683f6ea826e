#pragma once

#include <string>

#include "core/datagram_client.h"
#include "core/endpoint_source.h"
#include "core/query_displays.h"

namespace kestrova {

// The 16-byte request behind the out-of-band header: FF FF FF FF 02 "getinfo xxx".
std::string InfoRequest();

// The out-of-band header that begins every datagram to the game port.
inline constexpr char kOutOfBandHeader[] = "\xFF\xFF\xFF\xFF\x02";

// Reads one received info reply: replaces the info reply list, and for a
// valid reply (token 0 "infoResponse") sets the labels and the hint.
// Returns whether the reply was valid. Throws std::out_of_range when a key
// or the host name runs off the end of the list.
bool ShowInfoReply(const std::string& received, InfoDisplay& display, ReplyLists& lists);

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
bool QueryInfo(DatagramClient& udp1, const EndpointSource& endpoint, InfoDisplay& display, ReplyLists& lists);

}  // namespace kestrova
