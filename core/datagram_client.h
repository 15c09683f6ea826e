// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

class AntiFreeze;

// One UDP conversation: an IPv4 datagram socket, made at first use and kept
// for the client's life, so all replies of one conversation come back to one
// local port. Not connected: a receive takes whatever datagram is first in
// the queue, whoever sent it.
class DatagramClient final {
 public:
  DatagramClient() = default;
  ~DatagramClient();
  DatagramClient(const DatagramClient&) = delete;
  DatagramClient& operator=(const DatagramClient&) = delete;

  // Destination as a dotted-quad IPv4 text; not checked before Send.
  std::string Host;
  // Destination port; only its low 16 bits count (70000 sends to 4464).
  std::int32_t Port = 0;
  // Default wait of ReceiveText(-1), in milliseconds; -2 means no limit.
  std::int32_t ReceiveTimeout = -2;
  // Longest datagram a receive accepts.
  std::int32_t BufferSize = 8192;
  bool BroadcastEnabled = false;
  // How ReceiveText and ReceiveWithin wait: with the window's responsive
  // waiting, which handles window events meanwhile; nullptr: plainly.
  const AntiFreeze* WaitsWith = nullptr;

  // Sends the bytes of `text` as one datagram to Host:Port, nothing added.
  // Throws SocketError, or std::runtime_error with "Package Size Too Big.",
  // "Not all bytes sent." or "Cannot allocate socket.".
  void Send(std::string_view text);

  // One datagram as text, or the empty text when none came within
  // `timeoutMs` (-1: ReceiveTimeout, -2: no limit). Waits as WaitsWith
  // says, so window events may be handled while it waits. A datagram
  // longer than BufferSize is taken off the queue and raises SocketError
  // 10040; other failures raise SocketError too.
  std::string ReceiveText(int timeoutMs = -1);

  // One datagram if one arrives within `timeoutMs` (-2: no limit), waiting
  // as ReceiveText does; std::nullopt when none came (a
  // zero-byte datagram gives the empty text). Throws like ReceiveText.
  std::optional<std::string> ReceiveWithin(int timeoutMs);

  // The same without handling any window events meanwhile. Used for a mere
  // look at the queue (a time-out of 0): the console output that came late.
  std::optional<std::string> ReceiveQuietly(int timeoutMs);

  // The local port of the socket, 0 while it has none or before the first
  // send has bound it.
  int LocalPort() const;

  // How many datagrams the kernel dropped on arrival because the socket's
  // queue was full, since the socket was made; 0 without a socket.
  std::uint32_t DroppedDatagrams() const;
  // That count at the last two requests, oldest first (DropFloodBacklog).
  std::array<std::uint32_t, 2> DropsSeen{};

 private:
  int EnsureSocket();
  bool WaitForData(int socket, int timeoutMs) const;
  std::optional<std::string> ReadOneDatagram();

  int socket_ = -1;
};

}  // namespace kestrova
