// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "core/datagram_client.h"
#include "core/display_model.h"
#include "core/endpoint_source.h"
#include "core/status_reply_parts.h"

namespace kestrova {

// The 8-byte request to the query port: "\status\".
inline constexpr char kStatusRequest[] = "\\status\\";

// How long the parts of a reply may pause before the parts still missing
// count as lost.
inline constexpr int kStatusPartGapMs = 150;

// One status reply as received.
struct StatusReply {
  // The reply: a whole one as it came, markers included, or the parts of
  // one joined; the empty text when nothing came, or no reply came whole.
  std::string text;
  // Whether any datagram came at all.
  bool answered = false;
  // Set when parts came but no reply was complete, even after the retry.
  std::optional<StatusGap> gap;
};

// Receives one status reply on `udp2` within its ReceiveTimeout, measured
// from the start of the first wait. A server with many players splits its
// reply over several datagrams; each part ends with "\queryid\Q.P" (Q names
// the reply, P counts its parts from 1) and the last one also carries the
// key "final", right before or right after that marker. When the first
// datagram is such a part but not the whole reply (not final, or a final
// part with P above 1), the further parts are gathered (NextDatagramWithin),
// each reply's apart (StatusReplies), until one reply has its final part
// and every part before it. As soon as a part is known to be lost (the
// final part came with a gap below it and nothing more is queued, or
// kStatusPartGapMs passed after the last part) the request is sent once
// more to udp2's Host and Port, and the first reply to come whole, of
// either request, is taken (the gathering gives up once a new reply's parts
// have paused kStatusPartGapMs after the retry, or when the time is up):
// stripped of its "final" and "queryid" fields
// and joined in part order, so a player whose fields straddle two parts
// reads as one. A datagram without that marker, or a final part 1, is a
// whole reply and is returned byte for byte, markers included. Without any
// datagram the text is empty and nothing is sent again; without a whole
// reply when the time is up, the text is empty and the gap says what was
// missing. Throws SocketError when a send or receive fails.
StatusReply ReceiveStatusReply(DatagramClient& udp2);

// Points `udp2` at the address and query port, drops a flood's backlog
// (DropFloodBacklog), sends the status request and receives the reply
// (ReceiveStatusReply). Throws ConversionError or SocketError.
StatusReply RequestStatus(DatagramClient& udp2, const EndpointSource& endpoint);

// Reads one received status reply: replaces the status reply list, sets
// Label10/Label11 and replaces the player rows by those of the reply (none
// for an empty text). Throws std::out_of_range when a value or a player
// name runs off the end; the rows read so far are shown then, the row cut
// short with the sub-items before that point.
void ShowStatusReply(const std::string& received, DisplayModel& shown);

// What one status query did.
struct StatusOutcome {
  // A datagram came for the request (or its retry).
  bool answered = false;
  // Set when the reply lacked a part even after the retry: nothing was
  // shown, the rows and labels keep the last whole reply's.
  std::optional<StatusGap> gap;
};

// Asks the server's query port for its players through `udp2`
// (RequestStatus) and shows the reply (ShowStatusReply). The reply read is
// the first that comes whole, so a reply that came after an earlier run
// stopped waiting is shown now, one run late; parts of two replies are
// never mixed. A reply that stays incomplete changes nothing shown: the
// rows, the labels and the status reply list keep what the last whole
// reply set. No datagram at all empties the rows as any time-out does.
// Throws ConversionError, SocketError or std::out_of_range; rows and labels
// set before the failure stay, and a failed send or receive leaves the
// rows of the last run.
StatusOutcome QueryStatus(DatagramClient& udp2, const EndpointSource& endpoint, DisplayModel& shown);

}  // namespace kestrova
