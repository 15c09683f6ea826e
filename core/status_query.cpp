// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/status_query.h"

#include <algorithm>
#include <chrono>
#include <optional>

#include "core/flood_backlog.h"
#include "core/reply_gathering.h"
#include "core/reply_text.h"
#include "core/status_reply_parts.h"
#include "core/token_at.h"

namespace kestrova {

namespace {

// A player's name may hold blanks; it ends before the next key, "frags_".
// `last` is set to the position of the name's last token.
std::string JoinPlayerName(const TokenList& tokens, std::size_t keyPosition, std::size_t& last) {
  return JoinTokensUntil(tokens, keyPosition, "frags_", last);
}

}  // namespace

StatusReply ReceiveStatusReply(DatagramClient& udp2) {
  using Clock = std::chrono::steady_clock;
  const ReplyBudget budget(udp2.ReceiveTimeout);
  std::string first = udp2.ReceiveText(-1);
  std::optional<StatusPart> firstPart = ParseStatusPart(first);
  if (!firstPart || (firstPart->final && firstPart->number == 1)) {
    const bool answered = !first.empty();
    return StatusReply{std::move(first), answered, std::nullopt};
  }

  StatusReplies replies;
  replies.Add(std::move(*firstPart));
  Clock::time_point lastPart = Clock::now();
  bool retried = false;
  std::size_t repliesBeforeRetry = 0;
  for (;;) {
    if (const StatusPartSet* whole = replies.Complete()) {
      return StatusReply{whole->Joined(), true, std::nullopt};
    }
    int wait = budget.LeftMs();
    // While parts come, wait only as long as one may still be on its way;
    // until the retry is answered, as long as the time lasts. A final part
    // with a gap below it waits for nothing but what is queued already
    // (parts that came out of order) before the retry goes out.
    if (!retried || replies.Count() > repliesBeforeRetry) {
      const auto since = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastPart).count();
      const int gapLeft = !retried && replies.FinalCameWithGap()
                              ? 0
                              : static_cast<int>(std::max<long long>(0, kStatusPartGapMs - since));
      wait = wait < 0 ? gapLeft : std::min(wait, gapLeft);
    }
    if (std::optional<std::string> datagram = NextDatagramWithin(udp2, wait)) {
      if (std::optional<StatusPart> part = ParseStatusPart(*datagram)) {
        replies.Add(std::move(*part));
        lastPart = Clock::now();
      }
      continue;
    }
    if (retried || budget.LeftMs() == 0) {
      break;
    }
    // A part is lost: the query port is never limited, so ask once more.
    udp2.Send(std::string_view(kStatusRequest, sizeof kStatusRequest - 1));
    retried = true;
    repliesBeforeRetry = replies.Count();
  }
  return StatusReply{std::string(), true, replies.Gap()};
}

StatusReply RequestStatus(DatagramClient& udp2, const EndpointSource& endpoint) {
  PointClientAt(udp2, endpoint.Address(), endpoint.QueryPortText());
  DropFloodBacklog(udp2);
  udp2.Send(std::string_view(kStatusRequest, sizeof kStatusRequest - 1));
  return ReceiveStatusReply(udp2);
}

void ShowStatusReply(const std::string& received, DisplayModel& shown) {
  TokenList tokens;
  SplitCommaText(NormaliseReply(received), tokens);
  shown.ReplaceStatusList(std::move(tokens));
  const TokenList& list = shown.StatusList();
  std::vector<PlayerRow> rows;
  try {
    // Token 0 is never examined: it is the empty token before the reply's
    // first backslash. Every later position is tested, name tokens and
    // values included.
    for (std::size_t i = 1; i < list.size(); ++i) {
      const std::string& token = list[i];
      for (const ShownLabel limit : {ShownLabel::FragLimit, ShownLabel::TimeLimit}) {
        if (Equals(token, DisplayModel::Key(limit))) {
          shown.SetValue(limit, TokenAt(list, i + 1));
        }
      }
      if (Contains(token, "player_")) {
        std::size_t last = i;
        rows.push_back(PlayerRow{JoinPlayerName(list, i, last), {}});
        // Frags, deaths and ping follow at every second position; the keys
        // between them are only counted.
        for (const std::size_t offset : {2, 4, 6}) {
          rows.back().subItems.push_back(TokenAt(list, last + offset));
        }
      }
    }
  } catch (...) {
    // The rows read before the failure are shown, as they would have been
    // one by one.
    shown.ReplaceRows(std::move(rows));
    throw;
  }
  shown.ReplaceRows(std::move(rows));
}

StatusOutcome QueryStatus(DatagramClient& udp2, const EndpointSource& endpoint, DisplayModel& shown) {
  StatusReply received = RequestStatus(udp2, endpoint);
  if (!received.gap) {
    // A partial list is never shown as the whole one: what the last whole
    // reply showed stays.
    ShowStatusReply(received.text, shown);
  }
  return StatusOutcome{received.answered, std::move(received.gap)};
}

}  // namespace kestrova
