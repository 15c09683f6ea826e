// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/generated_players.h"

#include <array>
#include <string>
#include <string_view>

namespace kestrova::simserver {

namespace {

constexpr std::array<std::string_view, 24> kNames = {
    "Big Al",  "alice",          "Bob",       "J\xE4ger", "Sgt. Rock",   "Viper",     "Lt. Dan", "[TAG] Sniper",
    "medic",   "Captain Miller", "Ghost",     "Zed",      "Panzer Paul", "x-ray",     "Nomad",   "Duke",
    "Kestrel", "M\xFCller Max",  "Old Timer", "Rifleman", "Sparrow",     "Tommy Gun", "Wolf",    "Yankee"};

}  // namespace

std::vector<Player> GeneratedPlayers(int count, std::mt19937& random) {
  std::uniform_int_distribution<int> frags(0, 40);
  std::uniform_int_distribution<int> deaths(0, 30);
  std::uniform_int_distribution<int> ping(15, 180);
  std::vector<Player> players;
  for (int i = 0; i < count; ++i) {
    Player player;
    std::size_t round = static_cast<std::size_t>(i) / kNames.size();
    player.name = kNames[static_cast<std::size_t>(i) % kNames.size()];
    if (round > 0) {
      player.name.append(1, ' ').append(std::to_string(round + 1));
    }
    player.frags = frags(random);
    player.deaths = deaths(random);
    player.ping = ping(random);
    players.push_back(std::move(player));
  }
  return players;
}

}  // namespace kestrova::simserver
