// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/request_answers.h"

#include "tools/simserver/console_commands.h"
#include "tools/simserver/info_reply.h"
#include "tools/simserver/number_text.h"
#include "tools/simserver/print_reply.h"
#include "tools/simserver/status_reply.h"

namespace kestrova::simserver {

namespace {

constexpr std::string_view kRequestHeader = "\xFF\xFF\xFF\xFF";
constexpr std::string_view kStatusRequest = "\\status\\";

// The challenge is the first word after "getinfo"; nothing when the text
// is not an info request.
std::optional<std::string> InfoChallenge(std::string_view text) {
  constexpr std::string_view kGetinfo = "getinfo";
  if (text.size() < kGetinfo.size() || !EqualsIgnoringCase(text.substr(0, kGetinfo.size()), kGetinfo)) {
    return std::nullopt;
  }
  std::string_view rest = text.substr(kGetinfo.size());
  if (!rest.empty() && rest.front() != ' ' && rest.front() != '\n' && rest.front() != '\0') {
    return std::nullopt;
  }
  std::size_t first = rest.find_first_not_of(" ");
  if (first == std::string_view::npos) {
    return std::string();
  }
  rest = rest.substr(first);
  constexpr std::string_view kWordEnd(" \n\r\0", 4);
  return std::string(rest.substr(0, rest.find_first_of(kWordEnd)));
}

// The text behind the out-of-band header (FF FF FF FF, optionally 02);
// nothing without the header.
std::optional<std::string_view> RequestText(std::string_view datagram) {
  if (!datagram.starts_with(kRequestHeader)) {
    return std::nullopt;
  }
  std::string_view text = datagram.substr(kRequestHeader.size());
  if (text.starts_with('\x02')) {
    text.remove_prefix(1);
  }
  return text;
}

}  // namespace

std::optional<Channel> GamePortRequest(std::string_view datagram) {
  const std::optional<std::string_view> text = RequestText(datagram);
  if (!text) {
    return std::nullopt;
  }
  if (InfoChallenge(*text)) {
    return Channel::kInfo;
  }
  // The word rcon alone or followed by a blank; line ends after it do not
  // count.
  std::string_view word = text->substr(0, text->find(' '));
  while (!word.empty() && (word.back() == '\n' || word.back() == '\r' || word.back() == '\0')) {
    word.remove_suffix(1);
  }
  if (EqualsIgnoringCase(word, "rcon")) {
    return Channel::kRcon;
  }
  return std::nullopt;
}

std::optional<Answer> RequestAnswers::GamePort(std::string_view datagram) {
  const std::optional<std::string_view> request = RequestText(datagram);
  if (!request) {
    return std::nullopt;
  }
  const std::string_view text = *request;
  if (std::optional<std::string> challenge = InfoChallenge(text)) {
    return Answer{Channel::kInfo, {InfoReply(state_, *challenge)}};
  }
  if (std::optional<std::vector<std::string>> lines = RconOutput(state_, text)) {
    return Answer{Channel::kRcon, PrintDatagrams(*lines, style_.printCutAnywhere)};
  }
  return std::nullopt;
}

std::optional<Answer> RequestAnswers::QueryPort(std::string_view datagram) {
  if (!datagram.starts_with(kStatusRequest)) {
    return std::nullopt;
  }
  return Answer{Channel::kStatus, StatusReplies(state_, gamePort_, ++statusQueries_, style_.finalAfterQueryId)};
}

}  // namespace kestrova::simserver
