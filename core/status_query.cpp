#include "core/status_query.h"

#include <optional>

#include "core/flood_backlog.h"
#include "core/reply_gathering.h"
#include "core/reply_text.h"
#include "core/status_reply_parts.h"
#include "core/token_at.h"

namespace kestrova {

namespace {

constexpr int kFragLimitLabel = 10;
constexpr int kTimeLimitLabel = 11;

// A player's name may hold blanks; it ends before the next key, "frags_".
// `last` is set to the position of the name's last token.
std::string JoinPlayerName(const TokenList& tokens, std::size_t keyPosition, std::size_t& last) {
  return JoinTokensUntil(tokens, keyPosition, "frags_", last);
}

}  // namespace

std::string ReceiveStatusReply(DatagramClient& udp2) {
  const ReplyBudget budget(udp2.ReceiveTimeout);
  std::string first = udp2.ReceiveText(-1);
  std::optional<StatusPart> firstPart = ParseStatusPart(first);
  if (!firstPart || (firstPart->final && firstPart->number == 1)) {
    return first;
  }

  StatusPartSet parts(std::move(*firstPart));
  while (!parts.Complete()) {
    const int left = budget.LeftMs();
    if (left == 0) {
      break;
    }
    std::optional<std::string> datagram = NextDatagramWithin(udp2, left);
    if (!datagram) {
      break;
    }
    if (std::optional<StatusPart> part = ParseStatusPart(*datagram)) {
      parts.Add(std::move(*part));
    }
  }
  return parts.Joined();
}

void ShowStatusReply(const std::string& received, StatusDisplay& display, ReplyLists& lists) {
  TokenList tokens;
  SplitCommaText(NormaliseReply(received), tokens);
  lists.ReplaceStatusList(tokens);

  if (tokens.size() < 2) {
    return;
  }
  // Token 0 is never examined: it is the empty token before the reply's
  // first backslash. Every later position is tested, name tokens and
  // values included.
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    const std::string& token = tokens[i];
    if (Equals(token, "fraglimit")) {
      display.SetLabelText(kFragLimitLabel, "fraglimit: " + TokenAt(tokens, i + 1));
    }
    if (Equals(token, "timelimit")) {
      display.SetLabelText(kTimeLimitLabel, "timelimit: " + TokenAt(tokens, i + 1));
    }
    if (Contains(token, "player_")) {
      std::size_t last = i;
      const std::string name = JoinPlayerName(tokens, i, last);
      display.AddRow(name);
      // Frags, deaths and ping follow at every second position; the keys
      // between them are only counted.
      display.AppendSubItem(TokenAt(tokens, last + 2));
      display.AppendSubItem(TokenAt(tokens, last + 4));
      display.AppendSubItem(TokenAt(tokens, last + 6));
    }
  }
}

void QueryStatus(DatagramClient& udp2, const EndpointSource& endpoint, StatusDisplay& display, ReplyLists& lists) {
  PointClientAt(udp2, endpoint.Address(), endpoint.QueryPortText());
  DropFloodBacklog(udp2);
  udp2.Send(std::string_view(kStatusRequest, sizeof kStatusRequest - 1));
  const std::string received = ReceiveStatusReply(udp2);
  display.ClearRows();
  ShowStatusReply(received, display, lists);
}

}  // namespace kestrova
