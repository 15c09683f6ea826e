// SPDX-License-Identifier: GPL-3.0-or-later
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

// Throws unless `rest` is blank: `line` takes no further words.
void NoArguments(std::string_view line, std::string_view rest) {
  if (!TrimBlanks(rest).empty()) {
    throw std::invalid_argument(std::string(line) + " takes no arguments");
  }
}

// The one word that ends a `line`; throws when more follow it.
std::string_view LastWord(std::string_view line, std::string_view rest) {
  auto [value, more] = SplitWord(TrimBlanks(rest));
  if (!TrimBlanks(more).empty()) {
    throw std::invalid_argument(std::string(line) + " takes nothing after '" + std::string(value) + "'");
  }
  return value;
}

}  // namespace

ControlOutcome ControlLines::Run(std::string_view line) {
  auto [word, rest] = SplitWord(line);
  try {
    if (word == "quit") {
      NoArguments(word, rest);
      return {"ok", true};
    }
    if (word == "requests") {
      NoArguments(word, rest);
      return {"ok " + tally_.Text() + " lost info " + std::to_string(faults_.LostDatagrams(Channel::kInfo)) +
                  " status " + std::to_string(faults_.LostDatagrams(Channel::kStatus)) + " rcon " +
                  std::to_string(faults_.LostDatagrams(Channel::kRcon)),
              false};
    }
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
  if (word == "silent" || word == "garbage" || word == "oversize" || word == "duplicate" || word == "reorder" ||
      word == "delay" || word == "droppart") {
    auto [channel, value] = SplitWord(TrimBlanks(rest));
    faults_.Set(word, channel, LastWord(word, value));
  } else if (word == "loss") {
    const auto [percent, seed] = ParseLoss(LastWord(word, rest));
    faults_.SetLoss(percent, seed);
  } else if (word == "ratelimit") {
    auto [first, more] = SplitWord(TrimBlanks(rest));
    if (first == "pass") {
      faults_.PassBudgetTime(
          std::chrono::milliseconds(ParseInteger(LastWord("ratelimit pass", more), "ratelimit pass", 0, 600000)));
    } else {
      faults_.SetRateLimited(ParseOnOff(LastWord(word, rest)));
    }
  } else if (word == "normal") {
    NoArguments(word, rest);
    faults_.Clear();
  } else if (word == "static") {
    frozen_ = ParseOnOff(LastWord(word, rest));
  } else if (word == "printcut") {
    style_.SetPrintCut(LastWord(word, rest));
  } else if (word == "final") {
    style_.SetFinalPlace(LastWord(word, rest));
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
    auto [action, more] = SplitWord(TrimBlanks(rest));
    if (action != "clear") {
      throw std::invalid_argument("players clear is the only players line");
    }
    NoArguments("players clear", more);
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
