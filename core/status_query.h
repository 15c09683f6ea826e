#pragma once

#include <string>

#include "core/datagram_client.h"
#include "core/endpoint_source.h"
#include "core/query_displays.h"

namespace kestrova {

// The 8-byte request to the query port: "\status\".
inline constexpr char kStatusRequest[] = "\\status\\";

// Receives one status reply on `udp2` within its ReceiveTimeout. A reply in
// several datagrams (each ends with "\queryid\Q.P", the last also carries
// "\final\") is gathered until its final part has come or the time is up,
// and its parts are joined in part order. A datagram without "queryid" is a
// whole reply. The empty text on time-out.
std::string ReceiveStatusReply(DatagramClient& udp2);

// Reads one received status reply: replaces the status reply list, sets
// Label10/Label11 and adds the player rows (the caller has cleared them).
// Throws std::out_of_range when a value or a player name runs off the end.
void ShowStatusReply(const std::string& received, StatusDisplay& display, ReplyLists& lists);

// Asks the server's query port for its players through `udp2`: rebuilds the
// player rows and sets Label10 (fraglimit) and Label11 (timelimit). Throws
// ConversionError, SocketError or std::out_of_range; rows and labels set
// before the failure stay.
void QueryStatus(DatagramClient& udp2, const EndpointSource& endpoint, StatusDisplay& display, ReplyLists& lists);

}  // namespace kestrova
