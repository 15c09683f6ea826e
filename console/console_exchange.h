// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "console/console_output.h"
#include "core/datagram_client.h"
#include "core/endpoint_source.h"
#include "core/request_allowance.h"

namespace kestrova {

// Sends console commands through the console's own client (UDP3) and shows
// what the server prints back.
class ConsoleExchange final {
 public:
  // Longest pause between two datagrams of one reply: a server sends long
  // output ("status", "cmdlist") as several datagrams back to back.
  static constexpr int kReplyPartGapMs = 150;

  // `allowance`, when given, is spent for every command sent: it mirrors
  // the server's request allowance that the info requests share.
  ConsoleExchange(DatagramClient& udp3, const EndpointSource& endpoint, ConsoleOutput& output,
                  RequestAllowance* allowance = nullptr);
  ConsoleExchange(const ConsoleExchange&) = delete;
  ConsoleExchange& operator=(const ConsoleExchange&) = delete;

  // Points UDP3 at the address and game port (read afresh), drops a
  // flood's backlog (DropFloodBacklog), shows output of earlier commands
  // still queued on UDP3, sends the out-of-band header followed by
  // `command` (spending one from the allowance: commands are sent whatever
  // it holds), then (when `awaitReply`) waits up to the
  // client's time-out for the first reply datagram and takes those that
  // follow it within kReplyPartGapMs of each other, as long as the
  // time-out's budget (counted from the start of the wait) lasts. The late
  // output and the reply are each joined in arrival order
  // (JoinReplyDatagrams) and rendered once (RenderConsoleReply), so a line
  // cut between two datagrams shows whole. Then the list is scrolled to its
  // end when it holds 2 or more lines (also after a time-out or without a
  // wait).
  //
  // Throws ConversionError for a bad game port text (nothing sent, nothing
  // shown) and the client's errors (SocketError, std::runtime_error);
  // nothing of the reply is shown then.
  //
  // Returns false, doing nothing, while another command of this exchange
  // is still waiting for its reply: a command started from inside that
  // wait (the wait handles window events) is ignored rather than nested.
  bool Run(const std::string& command, bool awaitReply);

  // Whether a command is being sent or its reply awaited right now.
  bool Busy() const { return busy_; }
  // The most commands that ever ran inside one another (1 once one ran).
  int DeepestNesting() const { return deepestNesting_; }

  // How many datagrams the reply of the last command that Run sent was
  // made of: 0 when none came or none was awaited.
  int LastReplyDatagrams() const { return lastReplyDatagrams_; }

 private:
  void ShowLateOutput();
  std::vector<std::string> ReceiveReply();
  void ShowReply(const std::vector<std::string>& datagrams);

  DatagramClient& udp3_;
  const EndpointSource& endpoint_;
  ConsoleOutput& output_;
  RequestAllowance* allowance_;
  bool busy_ = false;
  int lastReplyDatagrams_ = 0;
  int nesting_ = 0;
  int deepestNesting_ = 0;
};

}  // namespace kestrova
