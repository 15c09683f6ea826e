// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/server_loop.h"

#include <arpa/inet.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "tools/simserver/score_drift.h"

namespace kestrova::simserver {

namespace {

constexpr auto kDriftPeriod = std::chrono::seconds(1);
// A flood on one socket must not starve the other sources.
constexpr int kDatagramsPerWake = 256;
// No control line is longer; input without line ends (</dev/zero) must not
// fill the memory.
constexpr std::size_t kLongestControlLine = 65536;

void WriteLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

ServerLoop::ServerLoop(ServerState state, Misbehaviour faults, const LoopSetup& setup)
    : game_(setup.gamePort),
      query_(setup.queryPort),
      state_(std::move(state)),
      faults_(std::move(faults)),
      style_(setup.style),
      frozen_(setup.frozen),
      random_(setup.seed),
      answers_(state_, style_, game_.Port()),
      control_(state_, faults_, style_, frozen_, tally_),
      nextDrift_(Clock::now() + kDriftPeriod) {}

void ServerLoop::Run(const StopSignals& signals) {
  while (!quit_ && !signals.Raised()) {
    pollfd sources[3] = {{game_.Descriptor(), POLLIN, 0}, {query_.Descriptor(), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
    nfds_t count = inputOpen_ ? 3 : 2;
    int waitMs = WaitMilliseconds(Clock::now());
    timespec wait{waitMs / 1000, (waitMs % 1000) * 1000000L};
    int ready = ::ppoll(sources, count, waitMs < 0 ? nullptr : &wait, &signals.WaitMask());
    if (ready < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw std::runtime_error(std::string("poll failed: ") + std::strerror(errno));
    }
    Clock::time_point now = Clock::now();
    if (sources[0].revents != 0) {
      ServeGamePort(now);
    }
    if (sources[1].revents != 0) {
      ServeQueryPort(now);
    }
    if (inputOpen_ && sources[2].revents != 0) {
      if ((sources[2].revents & POLLNVAL) != 0) {
        inputOpen_ = false;
      } else {
        ReadControlInput();
      }
    }
    now = Clock::now();
    for (TimedReply& reply : queue_.TakeDue(now)) {
      reply.socket->SendTo(reply.to, reply.bytes);
    }
    if (now >= nextDrift_) {
      if (!frozen_) {
        DriftScores(state_, random_);
      }
      nextDrift_ = now + kDriftPeriod;
    }
  }
}

int ServerLoop::WaitMilliseconds(Clock::time_point now) const {
  Clock::time_point until = nextDrift_;
  if (std::optional<Clock::time_point> due = queue_.NextDue()) {
    until = std::min(until, *due);
  }
  if (until <= now) {
    return 0;
  }
  // Rounded up, so the loop never wakes a moment before a reply is due.
  auto ms = std::chrono::ceil<std::chrono::milliseconds>(until - now).count();
  return static_cast<int>(std::min<decltype(ms)>(ms, 1000));
}

void ServerLoop::ServeGamePort(Clock::time_point now) {
  for (int i = 0; i < kDatagramsPerWake; ++i) {
    std::optional<Received> request = game_.Receive();
    if (!request) {
      return;
    }
    // Only requests draw on the sender's budget; anything else goes
    // unanswered without counting.
    const std::optional<Channel> kind = GamePortRequest(request->bytes);
    if (!kind) {
      continue;
    }
    const bool limited = faults_.OverBudget(ntohl(request->sender.sin_addr.s_addr), now);
    tally_.Count(static_cast<int>(*kind), limited);
    if (limited) {
      continue;
    }
    Reply(game_, *request, answers_.GamePort(request->bytes), now);
  }
}

void ServerLoop::ServeQueryPort(Clock::time_point now) {
  for (int i = 0; i < kDatagramsPerWake; ++i) {
    std::optional<Received> request = query_.Receive();
    if (!request) {
      return;
    }
    std::optional<Answer> answer = answers_.QueryPort(request->bytes);
    if (answer) {
      tally_.Count(static_cast<int>(Channel::kStatus), false);
    }
    Reply(query_, *request, std::move(answer), now);
  }
}

void ServerLoop::Reply(LoopbackSocket& socket, const Received& request, std::optional<Answer> answer,
                       Clock::time_point now) {
  if (!answer) {
    return;
  }
  // Every reply goes through the queue, so that a delayed reply and one
  // that is due at once keep the order in which they became due.
  Clock::time_point due = now + std::chrono::milliseconds(faults_.Faults(answer->channel).delayMs);
  for (std::string& datagram : faults_.Shape(answer->channel, std::move(answer->datagrams), random_)) {
    if (!faults_.LoseDatagram(answer->channel)) {
      queue_.Add(due, TimedReply{&socket, request.sender, std::move(datagram)});
    }
  }
}

void ServerLoop::ReadControlInput() {
  char buffer[4096];
  ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (count < 0) {
    if (errno != EINTR && errno != EAGAIN) {
      inputOpen_ = false;
    }
    return;
  }
  if (count == 0) {
    inputOpen_ = false;
    // A last line without its line end still counts.
    if (!inputBuffer_.empty()) {
      inputBuffer_ += '\n';
    }
  }
  inputBuffer_.append(buffer, static_cast<std::size_t>(count));
  std::size_t end;
  while (!quit_ && (end = inputBuffer_.find('\n')) != std::string::npos) {
    std::string line = inputBuffer_.substr(0, end);
    inputBuffer_.erase(0, end + 1);
    if (std::exchange(skippingLine_, false)) {
      continue;
    }
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    ControlOutcome outcome = control_.Run(line);
    WriteLine(outcome.answer);
    quit_ = outcome.quit;
  }
  if (inputBuffer_.size() > kLongestControlLine) {
    // Answered once; the rest of the line, up to its line end, goes unread.
    if (!skippingLine_) {
      WriteLine("error: control line longer than " + std::to_string(kLongestControlLine) + " bytes");
    }
    skippingLine_ = true;
    inputBuffer_.clear();
  }
}

}  // namespace kestrova::simserver
