#include "tools/simserver/control_lines.h"

#include <stdexcept>

#include "tools/simserver/number_text.h"

namespace kestrova::simserver {

namespace {

// The first word of `text` and what follows the blank after it.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
  std::size_t blank = text.find(' ');
  if (blank == std::string_view::npos) {
    return {text, {}};
  }
  return {text.substr(0, blank), text.substr(blank + 1)};
}

}  // namespace

ControlOutcome ControlLines::Run(std::string_view line) {
  auto [word, rest] = SplitWord(line);
  if (word == "quit" && TrimBlanks(rest).empty()) {
    return {"ok", true};
  }
  try {
    Apply(word, rest);
    return {"ok", false};
  } catch (const std::invalid_argument& error) {
    return {std::string("error: ") + error.what(), false};
  }
}

void ControlLines::Apply(std::string_view word, std::string_view rest) {
  if (word.empty()) {
    throw std::invalid_argument("empty control line");
  }
  if (word == "silent" || word == "garbage" || word == "oversize" || word == "duplicate" || word == "delay") {
    auto [channel, value] = SplitWord(TrimBlanks(rest));
    faults_.Set(word, channel, TrimBlanks(value));
  } else if (word == "ratelimit") {
    faults_.SetRateLimited(ParseOnOff(TrimBlanks(rest)));
  } else if (word == "normal" && TrimBlanks(rest).empty()) {
    faults_.Clear();
  } else if (word == "static") {
    frozen_ = ParseOnOff(TrimBlanks(rest));
  } else if (word == "player") {
    auto [action, argument] = SplitWord(rest);
    if (action == "add") {
      if (!state_.AddPlayer(ParsePlayerEntry(argument))) {
        throw std::invalid_argument("the server is full (" + std::to_string(state_.settings.maxClients) + " slots)");
      }
    } else if (action == "remove") {
      if (!state_.RemoveByName(argument)) {
        throw std::invalid_argument("no player named '" + std::string(argument) + "'");
      }
    } else {
      throw std::invalid_argument("player add NAME;FRAGS;DEATHS;PING or player remove NAME");
    }
  } else if (word == "players") {
    if (TrimBlanks(rest) != "clear") {
      throw std::invalid_argument("players clear is the only players line");
    }
    state_.ClearPlayers();
  } else if (IsSettingKey(word)) {
    ServerSettings changed = state_.settings;
    ApplySetting(changed, word, rest);
    if (changed.maxClients < static_cast<int>(state_.Players().size())) {
      throw std::invalid_argument("more players than maxclients are seated");
    }
    state_.settings = std::move(changed);
  } else {
    throw std::invalid_argument("unknown control line '" + std::string(word) + "'");
  }
}

}  // namespace kestrova::simserver
