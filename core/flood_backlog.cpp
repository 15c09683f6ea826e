// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/flood_backlog.h"

#include "core/socket_error.h"

namespace kestrova {

namespace {

constexpr int kMessageTooLong = 10040;

}  // namespace

int DropFloodBacklog(DatagramClient& client) {
  const std::uint32_t drops = client.DroppedDatagrams();
  const bool flooded = drops != client.DropsSeen[0];
  client.DropsSeen = {client.DropsSeen[1], drops};
  if (!flooded) {
    return 0;
  }
  int drained = 0;
  while (drained < kMostDrainedDatagrams) {
    try {
      if (!client.ReceiveQuietly(0)) {
        break;
      }
    } catch (const SocketError& error) {
      if (error.Code() != kMessageTooLong) {
        throw;
      }
    }
    ++drained;
  }
  return drained;
}

}  // namespace kestrova
