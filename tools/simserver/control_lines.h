// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "tools/simserver/misbehaviour.h"
#include "tools/simserver/rate_limit.h"
#include "tools/simserver/reply_style.h"
#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

// The answer to one control line, and whether the server is to stop.
struct ControlOutcome final {
  std::string answer;
  bool quit = false;
};

// Carries out the control lines a test or a person writes to the running
// server's standard input.
class ControlLines final {
 public:
  ControlLines(ServerState& state, Misbehaviour& faults, ReplyStyle& style, bool& frozen, const RequestTally& tally)
      : state_(state), faults_(faults), style_(style), frozen_(frozen), tally_(tally) {}

  // Runs one line (without its line end). The answer is "ok", or "error: "
  // and the reason; a line that fails changes nothing. "requests" answers
  // "ok " and the tally (RequestTally::Text), then the reply datagrams
  // lost so far: "lost info I status S rcon R". A known line with
  // words it does not take is refused as such ("quit takes no
  // arguments").
  ControlOutcome Run(std::string_view line);

 private:
  void Apply(std::string_view word, std::string_view rest);

  ServerState& state_;
  Misbehaviour& faults_;
  ReplyStyle& style_;
  bool& frozen_;
  const RequestTally& tally_;
};

}  // namespace kestrova::simserver
