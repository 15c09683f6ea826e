// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::simserver {

// One connected player. Texts are bytes as the server reports them.
struct Player final {
  int slot = 0;
  std::string name;
  int frags = 0;
  int deaths = 0;
  int ping = 0;
};

// The server's settings, as reported by the info and status replies and
// the console.
struct ServerSettings final {
  std::string hostname = "Kestrova Test Server";
  std::string map = "dm/mohdm1";
  int gametype = 1;
  // Empty: the usual name of `gametype`.
  std::string gametypeString;
  int fraglimit = 0;
  int timelimit = 20;
  int maxClients = 16;
  int maxPing = 200;
  int pure = 1;
  std::string gameVersion = "1.11";
  std::string password = "secret";
};

// The name a game type number is shown with ("Free-For-All" for 1).
std::string GametypeName(const ServerSettings& settings);

// The map's name without its folder: "mohdm1" for "dm/mohdm1".
std::string MapWithoutFolder(const std::string& map);

// Sets the setting called `key` (hostname, map, gametype, gametypestring,
// fraglimit, timelimit, maxclients, maxping, pure, gamever, password) from
// its text. Throws std::invalid_argument with the reason for an unknown key
// or a value that does not fit.
void ApplySetting(ServerSettings& settings, std::string_view key, std::string_view value);

// The settings that ApplySetting knows.
inline constexpr std::array<std::string_view, 11> kSettingKeys = {
    "hostname",   "map",     "gametype", "gametypestring", "fraglimit", "timelimit",
    "maxclients", "maxping", "pure",     "gamever",        "password"};

// Whether `key` names a setting that ApplySetting knows.
bool IsSettingKey(std::string_view key);

// A player written as "NAME;FRAGS;DEATHS;PING". The name is everything
// before the last three fields, so it may hold blanks and semicolons, but
// no backslash, which would break the status reply's fields. Throws
// std::invalid_argument when the text has another shape.
Player ParsePlayerEntry(std::string_view entry);

// Settings plus the players, kept in slot order.
class ServerState final {
 public:
  ServerSettings settings;

  const std::vector<Player>& Players() const { return players_; }
  std::vector<Player>& Players() { return players_; }

  // Seats `player` in the lowest free slot (its own slot number is
  // ignored). False, and nothing added, when all sv_maxclients slots are
  // taken.
  bool AddPlayer(Player player);

  // Removes and returns the player whose name equals `name` byte for byte.
  std::optional<Player> RemoveByName(std::string_view name);
  // Removes and returns the player in `slot`.
  std::optional<Player> RemoveBySlot(int slot);
  void ClearPlayers() { players_.clear(); }

 private:
  std::vector<Player> players_;
};

}  // namespace kestrova::simserver
