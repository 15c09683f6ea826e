// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/server_state.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "tools/simserver/number_text.h"

namespace kestrova::simserver {

namespace {

constexpr int kMaxSlots = 1024;

}  // namespace

std::string GametypeName(const ServerSettings& settings) {
  if (!settings.gametypeString.empty()) {
    return settings.gametypeString;
  }
  switch (settings.gametype) {
    case 1:
      return "Free-For-All";
    case 2:
      return "Team-Match";
    case 3:
      return "Round-Based-Match";
    case 4:
      return "Objective-Match";
    default:
      return "Unknown";
  }
}

std::string MapWithoutFolder(const std::string& map) {
  std::size_t slash = map.rfind('/');
  return slash == std::string::npos ? map : map.substr(slash + 1);
}

bool IsSettingKey(std::string_view key) {
  return std::find(kSettingKeys.begin(), kSettingKeys.end(), key) != kSettingKeys.end();
}

void ApplySetting(ServerSettings& settings, std::string_view key, std::string_view value) {
  if (key == "hostname") {
    settings.hostname = value;
  } else if (key == "map") {
    if (TrimBlanks(value).empty()) {
      throw std::invalid_argument("map needs a name");
    }
    settings.map = TrimBlanks(value);
  } else if (key == "gametype") {
    settings.gametype = ParseInteger(value, "gametype", 0, 99);
  } else if (key == "gametypestring") {
    settings.gametypeString = value;
  } else if (key == "fraglimit") {
    settings.fraglimit = ParseInteger(value, "fraglimit", 0, 1000000);
  } else if (key == "timelimit") {
    settings.timelimit = ParseInteger(value, "timelimit", 0, 1000000);
  } else if (key == "maxclients") {
    settings.maxClients = ParseInteger(value, "maxclients", 1, kMaxSlots);
  } else if (key == "maxping") {
    settings.maxPing = ParseInteger(value, "maxping", 0, 100000);
  } else if (key == "pure") {
    settings.pure = ParseInteger(value, "pure", 0, 1);
  } else if (key == "gamever") {
    settings.gameVersion = value;
  } else if (key == "password") {
    settings.password = value;
  } else {
    throw std::invalid_argument("unknown setting '" + std::string(key) + "'");
  }
}

Player ParsePlayerEntry(std::string_view entry) {
  std::array<std::string_view, 3> numbers;
  std::string_view rest = entry;
  for (int field = 2; field >= 0; --field) {
    std::size_t cut = rest.rfind(';');
    if (cut == std::string_view::npos) {
      throw std::invalid_argument("a player is written NAME;FRAGS;DEATHS;PING, not '" + std::string(entry) + "'");
    }
    numbers[static_cast<std::size_t>(field)] = rest.substr(cut + 1);
    rest = rest.substr(0, cut);
  }
  // The status reply separates its fields with backslashes.
  if (rest.find('\\') != std::string_view::npos) {
    throw std::invalid_argument("a player name cannot hold a backslash: '" + std::string(rest) + "'");
  }
  Player player;
  player.name = rest;
  player.frags = ParseInteger(numbers[0], "frags", -100000, 100000);
  player.deaths = ParseInteger(numbers[1], "deaths", 0, 100000);
  player.ping = ParseInteger(numbers[2], "ping", 0, 100000);
  return player;
}

bool ServerState::AddPlayer(Player player) {
  if (static_cast<int>(players_.size()) >= settings.maxClients) {
    return false;
  }
  // Players are kept in slot order, so the first gap is the lowest free slot.
  int slot = 0;
  auto position = players_.begin();
  while (position != players_.end() && position->slot == slot) {
    ++position;
    ++slot;
  }
  player.slot = slot;
  players_.insert(position, std::move(player));
  return true;
}

std::optional<Player> ServerState::RemoveByName(std::string_view name) {
  auto found = std::find_if(players_.begin(), players_.end(), [&](const Player& p) { return p.name == name; });
  if (found == players_.end()) {
    return std::nullopt;
  }
  Player removed = std::move(*found);
  players_.erase(found);
  return removed;
}

std::optional<Player> ServerState::RemoveBySlot(int slot) {
  auto found = std::find_if(players_.begin(), players_.end(), [&](const Player& p) { return p.slot == slot; });
  if (found == players_.end()) {
    return std::nullopt;
  }
  Player removed = std::move(*found);
  players_.erase(found);
  return removed;
}

}  // namespace kestrova::simserver
