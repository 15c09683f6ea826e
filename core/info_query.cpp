// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/info_query.h"

#include "core/flood_backlog.h"
#include "core/reply_text.h"
#include "core/token_at.h"

namespace kestrova {

namespace {

// The host name may hold blanks; it ends at the next key, "protocol".
std::string JoinHostName(const TokenList& tokens, std::size_t keyPosition) {
  std::size_t last = keyPosition;
  return JoinTokensUntil(tokens, keyPosition, DisplayModel::Key(ShownLabel::Protocol), last);
}

}  // namespace

std::string InfoRequest() { return std::string(kOutOfBandHeader, sizeof kOutOfBandHeader - 1) + "getinfo xxx"; }

bool IsInfoReply(const TokenList& tokens) { return !tokens.empty() && Equals(tokens[0], "infoResponse"); }

bool ShowInfoReply(const std::string& received, DisplayModel& shown) {
  TokenList tokens;
  SplitCommaText(NormaliseReply(received), tokens);
  shown.ReplaceInfoList(std::move(tokens));
  const TokenList& list = shown.InfoList();
  if (!IsInfoReply(list)) {
    return false;
  }
  // Keys are matched at every position, values and host-name tokens
  // included, so a value that equals a key name is taken as that key.
  for (std::size_t i = 1; i < list.size(); ++i) {
    for (int number = 1; number <= static_cast<int>(ShownLabel::Protocol); ++number) {
      const auto label = static_cast<ShownLabel>(number);
      if (!Equals(list[i], DisplayModel::Key(label))) {
        continue;
      }
      shown.SetValue(label, label == ShownLabel::HostName ? JoinHostName(list, i) : TokenAt(list, i + 1));
    }
    shown.ShowLabelsInHint();
  }
  return true;
}

std::string RequestInfo(DatagramClient& udp1, const EndpointSource& endpoint) {
  PointClientAt(udp1, endpoint.Address(), endpoint.GamePortText());
  DropFloodBacklog(udp1);
  udp1.Send(InfoRequest());
  return udp1.ReceiveText(-1);
}

bool QueryInfo(DatagramClient& udp1, const EndpointSource& endpoint, DisplayModel& shown) {
  return ShowInfoReply(RequestInfo(udp1, endpoint), shown);
}

}  // namespace kestrova
