#pragma once

#include <string>

#include "core/datagram_client.h"
#include "core/endpoint_source.h"
#include "core/query_displays.h"

namespace kestrova {

// The 8-byte request to the query port: "\status\".
inline constexpr char kStatusRequest[] = "\\status\\";

// Receives one status reply on `udp2` within its ReceiveTimeout, measured
// from the start of the first wait. A server with many players splits its
// reply over several datagrams; each part ends with "\queryid\Q.P" (Q names
// the reply, P counts its parts from 1) and the last one also carries the
// key "final", right before or right after that marker. When the first
// datagram is such a part but not the whole reply (not final, or a final
// part with P above 1), the further parts are gathered (NextDatagramWithin)
// until the final part and every part before it have come or the time is
// up. Parts of another Q and repeated part numbers are dropped;
// the parts that came are stripped of their "final" and "queryid" fields
// and joined in part order, so a player whose fields straddle two parts
// reads as one. A datagram without that marker, or a final part 1, is a
// whole reply and is returned byte for byte, markers included. The empty
// text on time-out. Throws SocketError when a receive fails.
std::string ReceiveStatusReply(DatagramClient& udp2);

// Reads one received status reply: replaces the status reply list, sets
// Label10/Label11 and adds the player rows (the caller has cleared them).
// Throws std::out_of_range when a value or a player name runs off the end.
void ShowStatusReply(const std::string& received, StatusDisplay& display, ReplyLists& lists);

// Asks the server's query port for its players through `udp2`: rebuilds the
// player rows and sets Label10 (fraglimit) and Label11 (timelimit). The
// reply read is the first that comes, so a reply that came after an
// earlier run stopped waiting is shown now, one run late; parts of the
// newer reply are dropped while it is gathered, never mixed into it. A
// flood's backlog is dropped before the request goes out (DropFloodBacklog).
// Throws ConversionError, SocketError or std::out_of_range; rows and
// labels set before the failure stay, and a failed send or receive leaves
// the rows of the last run.
void QueryStatus(DatagramClient& udp2, const EndpointSource& endpoint, StatusDisplay& display, ReplyLists& lists);

}  // namespace kestrova
