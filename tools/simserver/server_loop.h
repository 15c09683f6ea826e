// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <random>
#include <string>

#include "tools/simserver/control_lines.h"
#include "tools/simserver/loopback_socket.h"
#include "tools/simserver/misbehaviour.h"
#include "tools/simserver/reply_queue.h"
#include "tools/simserver/reply_style.h"
#include "tools/simserver/request_answers.h"
#include "tools/simserver/server_state.h"
#include "tools/simserver/stop_signals.h"

namespace kestrova::simserver {

// How the loop is set up.
struct LoopSetup final {
  int gamePort = 12203;
  int queryPort = 12300;
  bool frozen = false;
  unsigned seed = 0;
  ReplyStyle style;
};

// The server's one thread: a poll loop over the game socket, the query
// socket, the control lines on standard input and a timer that sends
// delayed replies and moves the scores.
class ServerLoop final {
 public:
  // Binds both sockets; throws std::runtime_error when one cannot be bound.
  ServerLoop(ServerState state, Misbehaviour faults, const LoopSetup& setup);
  ServerLoop(const ServerLoop&) = delete;
  ServerLoop& operator=(const ServerLoop&) = delete;

  int GamePort() const { return game_.Port(); }
  int QueryPort() const { return query_.Port(); }

  // Serves until a stop signal or the control line "quit". End of input
  // only stops the reading of control lines.
  void Run(const StopSignals& signals);

 private:
  using Clock = std::chrono::steady_clock;

  void ServeGamePort(Clock::time_point now);
  void ServeQueryPort(Clock::time_point now);
  void Reply(LoopbackSocket& socket, const Received& request, std::optional<Answer> answer, Clock::time_point now);
  void ReadControlInput();
  int WaitMilliseconds(Clock::time_point now) const;

  LoopbackSocket game_;
  LoopbackSocket query_;
  ServerState state_;
  Misbehaviour faults_;
  ReplyStyle style_;
  bool frozen_;
  std::mt19937 random_;
  RequestAnswers answers_;
  RequestTally tally_;
  ControlLines control_;
  ReplyQueue queue_;
  Clock::time_point nextDrift_;
  bool inputOpen_ = true;
  std::string inputBuffer_;
  // The rest of a line that was too long is being skipped.
  bool skippingLine_ = false;
  bool quit_ = false;
};

}  // namespace kestrova::simserver
