// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/simserver/misbehaviour.h"
#include "tools/simserver/reply_style.h"
#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// The true reply to one request, before any fault shapes it.
struct Answer final {
  Channel channel = Channel::kInfo;
  std::vector<std::string> datagrams;
};

// The kind of request a datagram on the game port is: an info request or a
// console (rcon) request, both behind the out-of-band header; nothing for
// any other datagram, which goes unanswered.
std::optional<Channel> GamePortRequest(std::string_view datagram);

// Turns requests into replies from the server's state.
class RequestAnswers final {
 public:
  // `style` is read afresh for every reply.
  RequestAnswers(ServerState& state, const ReplyStyle& style, int gamePort)
      : state_(state), style_(style), gamePort_(gamePort) {}

  // A datagram on the game port: the out-of-band header (FF FF FF FF,
  // optionally followed by 02), then "getinfo CHALLENGE" or an rcon
  // request. Nothing for any other datagram.
  std::optional<Answer> GamePort(std::string_view datagram);

  // A datagram on the query port: "\status\" gets the status reply, with
  // the next query number. Nothing for any other datagram.
  std::optional<Answer> QueryPort(std::string_view datagram);

 private:
  ServerState& state_;
  const ReplyStyle& style_;
  int gamePort_;
  int statusQueries_ = 0;
};

}  // namespace kestrova::simserver
