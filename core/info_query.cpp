#include "core/info_query.h"

#include <array>
#include <string_view>

#include "core/flood_backlog.h"
#include "core/reply_text.h"
#include "core/token_at.h"

namespace kestrova {

namespace {

struct InfoKey {
  std::string_view key;
  int label;
};

// The keys of an info reply and the labels that show them, in the order
// they are tested.
constexpr std::array<InfoKey, 9> kInfoKeys{{
    {"maxPing", 1},
    {"pure", 2},
    {"gametypestring", 3},
    {"gametype", 4},
    {"sv_maxclients", 5},
    {"clients", 6},
    {"mapname", 7},
    {"hostname", 8},
    {"protocol", 9},
}};

constexpr int kHostNameLabel = 8;
constexpr int kClientsLabel = 6;
constexpr int kMapNameLabel = 7;

// The host name may hold blanks; it ends at the next key, "protocol".
std::string JoinHostName(const TokenList& tokens, std::size_t keyPosition) {
  std::size_t last = keyPosition;
  return JoinTokensUntil(tokens, keyPosition, "protocol", last);
}

std::string HintText(const InfoDisplay& display) {
  // Line feed before carriage return, as the tray has always shown it.
  return "Kestrova by ZLX\n\r" + display.LabelText(kClientsLabel) + "\n\r" + display.LabelText(kMapNameLabel);
}

}  // namespace

std::string InfoRequest() { return std::string(kOutOfBandHeader, sizeof kOutOfBandHeader - 1) + "getinfo xxx"; }

bool ShowInfoReply(const std::string& received, InfoDisplay& display, ReplyLists& lists) {
  TokenList tokens;
  SplitCommaText(NormaliseReply(received), tokens);
  lists.ReplaceInfoList(tokens);

  if (tokens.empty() || !Equals(tokens[0], "infoResponse")) {
    return false;
  }
  // Keys are matched at every position, values and host-name tokens
  // included, so a value that equals a key name is taken as that key.
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    for (const InfoKey& key : kInfoKeys) {
      if (!Equals(tokens[i], key.key)) {
        continue;
      }
      const std::string value = key.label == kHostNameLabel ? JoinHostName(tokens, i) : TokenAt(tokens, i + 1);
      display.SetLabelText(key.label, std::string(key.key) + ": " + value);
    }
    display.SetHint(HintText(display));
  }
  return true;
}

std::string RequestInfo(DatagramClient& udp1, const EndpointSource& endpoint) {
  PointClientAt(udp1, endpoint.Address(), endpoint.GamePortText());
  DropFloodBacklog(udp1);
  udp1.Send(InfoRequest());
  return udp1.ReceiveText(-1);
}

bool QueryInfo(DatagramClient& udp1, const EndpointSource& endpoint, InfoDisplay& display, ReplyLists& lists) {
  return ShowInfoReply(RequestInfo(udp1, endpoint), display, lists);
}

}  // namespace kestrova
