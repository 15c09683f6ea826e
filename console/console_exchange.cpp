// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/console_exchange.h"

#include "console/console_reply.h"
#include "core/flood_backlog.h"
#include "core/info_query.h"
#include "core/nesting_count.h"
#include "core/reply_gathering.h"
#include "core/scoped_flag.h"

namespace kestrova {

ConsoleExchange::ConsoleExchange(DatagramClient& udp3, const EndpointSource& endpoint, ConsoleOutput& output,
                                 RequestAllowance* allowance)
    : udp3_(udp3), endpoint_(endpoint), output_(output), allowance_(allowance) {}

bool ConsoleExchange::Run(const std::string& command, bool awaitReply) {
  if (busy_) {
    return false;
  }
  ScopedFlag busy(busy_);
  const NestingCount nesting(nesting_, deepestNesting_);

  PointClientAt(udp3_, endpoint_.Address(), endpoint_.GamePortText());
  lastReplyDatagrams_ = 0;
  DropFloodBacklog(udp3_);
  ShowLateOutput();
  udp3_.Send(std::string(kOutOfBandHeader) + command);
  if (allowance_ != nullptr) {
    allowance_->Spend();
  }

  // Gathered whole before anything is shown, so a failing receive adds no
  // part of the reply.
  const std::vector<std::string> datagrams = awaitReply ? ReceiveReply() : std::vector<std::string>{};
  lastReplyDatagrams_ = static_cast<int>(datagrams.size());
  ShowReply(datagrams);
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
  const ReplyBudget budget(udp3_.ReceiveTimeout);
  std::vector<std::string> late;
  while (std::optional<std::string> datagram = NextDatagramWithin(udp3_, 0)) {
    late.push_back(std::move(*datagram));
    if (budget.LeftMs(kReplyPartGapMs) == 0) {
      break;
    }
  }
  ShowReply(late);
}

std::vector<std::string> ConsoleExchange::ReceiveReply() {
  std::vector<std::string> datagrams;
  const ReplyBudget budget(udp3_.ReceiveTimeout);
  std::string first = udp3_.ReceiveText(-1);
  if (first.empty()) {
    return datagrams;
  }
  datagrams.push_back(std::move(first));
  for (int wait = budget.LeftMs(kReplyPartGapMs); wait > 0; wait = budget.LeftMs(kReplyPartGapMs)) {
    std::optional<std::string> next = NextDatagramWithin(udp3_, wait);
    if (!next) {
      break;
    }
    datagrams.push_back(std::move(*next));
  }
  return datagrams;
}

void ConsoleExchange::ShowReply(const std::vector<std::string>& datagrams) {
  if (datagrams.empty()) {
    return;
  }
  const ConsoleReplyLines rendered = RenderReplyDatagrams(datagrams);
  for (const std::string& line : rendered.lines) {
    output_.AppendLine(line);
  }
  if (rendered.mayBeIncomplete) {
    output_.NoteIncomplete();
  }
}

}  // namespace kestrova
