// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/datagram_client.h"

namespace kestrova {

// The most datagrams one check throws away; a flood that goes on cannot
// hold the request back for longer than reading these takes.
inline constexpr int kMostDrainedDatagrams = 1024;

// Called by a query right before it sends its request on `client`.
//
// Anyone may send to the client's port, and each receive reads one queued
// datagram: a reply that came after its receive gave up is what the next
// receive returns, one request late, and that is kept. A flood, though,
// leaves far more datagrams than the client ever reads, and when the
// socket's queue is full the kernel drops the newcomers and counts them
// (DatagramClient::DroppedDatagrams). No reply does that: even a late
// reply of many parts is a few datagrams against a queue that holds some
// hundred. So when that count grew since the request before the last one,
// whatever is queued now is a flood's backlog, which would otherwise be
// read one datagram per request for hundreds of requests after the flood
// has stopped: it is read and thrown away (at most kMostDrainedDatagrams).
// Otherwise nothing is read. The check reaches back two requests because a
// flood that stops right after one check's drain leaves a backlog that has
// overflowed nothing since.
//
// Returns how many datagrams were thrown away. Throws SocketError when a
// receive fails other than on a datagram that is too long.
int DropFloodBacklog(DatagramClient& client);

}  // namespace kestrova
