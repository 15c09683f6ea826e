#include "console/console_exchange.h"

#include <algorithm>
#include <chrono>

#include "console/console_reply.h"
#include "core/info_query.h"
#include "core/scoped_flag.h"

namespace kestrova {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left of a budget of `budgetMs` counted from `start`; a
// negative budget (the client's "no limit") never runs out.
int MillisecondsLeft(Clock::time_point start, int budgetMs) {
  if (budgetMs < 0) {
    return ConsoleExchange::kReplyPartGapMs;
  }
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
  return static_cast<int>(std::max<long long>(0, budgetMs - elapsed));
}

}  // namespace

ConsoleExchange::ConsoleExchange(DatagramClient& udp3, const EndpointSource& endpoint, ConsoleOutput& output)
    : udp3_(udp3), endpoint_(endpoint), output_(output) {}

bool ConsoleExchange::Run(const std::string& command, bool awaitReply) {
  if (busy_) {
    return false;
  }
  ScopedFlag busy(busy_);

  PointClientAt(udp3_, endpoint_.Address(), endpoint_.GamePortText());
  ShowLateOutput();
  udp3_.Send(std::string(kOutOfBandHeader) + command);

  // Gathered whole before anything is shown, so a failing receive adds no
  // part of the reply.
  const std::vector<std::string> parts = awaitReply ? ReceiveReply() : std::vector<std::string>{};
  for (const std::string& part : parts) {
    ShowReply(part);
  }
  if (output_.LineCount() >= 2) {
    output_.ScrollToLastLine();
  }
  return true;
}

void ConsoleExchange::ShowLateOutput() {
  // Output that came after an earlier command stopped waiting (or of a
  // command sent without a wait) belongs above this command's output.
  // Bounded by the client's time-out, so a sender that never stops cannot
  // hold the command back for ever.
  const Clock::time_point start = Clock::now();
  for (;;) {
    std::optional<std::string> late = udp3_.ReceiveQuietly(0);
    if (!late) {
      return;
    }
    ShowReply(*late);
    if (MillisecondsLeft(start, udp3_.ReceiveTimeout) == 0) {
      return;
    }
  }
}

std::vector<std::string> ConsoleExchange::ReceiveReply() {
  std::vector<std::string> parts;
  const Clock::time_point start = Clock::now();
  std::string first = udp3_.ReceiveText(-1);
  if (first.empty()) {
    return parts;
  }
  parts.push_back(std::move(first));
  for (;;) {
    const int wait = std::min(kReplyPartGapMs, MillisecondsLeft(start, udp3_.ReceiveTimeout));
    if (wait <= 0) {
      break;
    }
    std::optional<std::string> next = udp3_.ReceiveQuietly(wait);
    if (!next) {
      break;
    }
    parts.push_back(std::move(*next));
  }
  return parts;
}

void ConsoleExchange::ShowReply(const std::string& reply) {
  for (const std::string& line : RenderConsoleReply(reply)) {
    output_.AppendLine(line);
  }
}

}  // namespace kestrova
