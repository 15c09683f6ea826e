// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/console_commands.h"

#include <cstdio>
#include <stdexcept>

#include "tools/simserver/command_list.h"
#include "tools/simserver/info_reply.h"
#include "tools/simserver/number_text.h"

namespace kestrova::simserver {

namespace {

std::string_view SkipBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

// Other clients end their commands with a line feed or a zero byte; those
// are not part of the command.
std::string_view WithoutLineEnd(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '\0')) {
    text.remove_suffix(1);
  }
  return text;
}

std::string Printf(const char* format, auto... values) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}

std::vector<std::string> StatusTable(const ServerState& state) {
  std::vector<std::string> lines = {"map: " + state.settings.map,
                                    "num score ping name            lastmsg address               qport rate",
                                    "--- ----- ---- --------------- ------- --------------------- ----- -----"};
  for (const Player& p : state.Players()) {
    std::string address = "127.0.0.1:" + std::to_string(27960 + p.slot);
    std::string line = Printf("%3d %5d %4d ", p.slot, p.frags, p.ping);
    line += p.name;
    if (p.name.size() < 15) {
      line.append(15 - p.name.size(), ' ');
    }
    line += Printf(" %7d %-21s %5d %5d", 0, address.c_str(), 1000 + (p.slot * 7919) % 60000, 25000);
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> ServerInfo(const ServerState& state) {
  const ServerSettings& s = state.settings;
  std::vector<std::pair<std::string, std::string>> pairs = {
      {"gamever", s.gameVersion},
      {"protocol", std::to_string(kProtocolVersion)},
      {"sv_hostname", s.hostname},
      {"mapname", s.map},
      {"g_gametype", std::to_string(s.gametype)},
      {"g_gametypestring", GametypeName(s)},
      {"fraglimit", std::to_string(s.fraglimit)},
      {"timelimit", std::to_string(s.timelimit)},
      {"sv_maxclients", std::to_string(s.maxClients)},
      {"sv_maxPing", std::to_string(s.maxPing)},
      {"sv_pure", std::to_string(s.pure)},
  };
  std::vector<std::string> lines = {"Server info settings:"};
  for (const auto& [key, value] : pairs) {
    std::string line = key;
    line.append(key.size() < 20 ? 20 - key.size() : 1, ' ');
    lines.push_back(line + value);
  }
  return lines;
}

// The maps this server has, besides the one it runs.
constexpr std::string_view kKnownMaps[] = {"dm/mohdm1",     "dm/mohdm2",     "dm/mohdm3",    "dm/mohdm4",
                                           "dm/mohdm5",     "dm/mohdm6",     "dm/mohdm7",    "obj/obj_team1",
                                           "obj/obj_team2", "obj/obj_team3", "obj/obj_team4"};

bool HasMap(const ServerState& state, std::string_view map) {
  if (EqualsIgnoringCase(map, state.settings.map)) {
    return true;
  }
  for (std::string_view known : kKnownMaps) {
    if (EqualsIgnoringCase(map, known)) {
      return true;
    }
  }
  return false;
}

// Real servers print why they cannot load a map and stay on theirs.
std::vector<std::string> ChangeMap(ServerState& state, std::string_view argument) {
  const std::string_view map = TrimBlanks(argument);
  if (map.empty()) {
    return {"Usage: map <mapname>"};
  }
  if (!HasMap(state, map)) {
    return {"Can't find map maps/" + std::string(map) + ".bsp"};
  }
  state.settings.map = map;
  return {};
}

std::vector<std::string> Kicked(const Player& player) { return {player.name + " was kicked"}; }

std::vector<std::string> Kick(ServerState& state, std::string_view name) {
  if (name.empty()) {
    return {"Usage: kick <player name>"};
  }
  // The client shows every name after one blank and sends it that way.
  std::optional<Player> removed = state.RemoveByName(name);
  if (!removed && name.front() == ' ') {
    removed = state.RemoveByName(name.substr(1));
  }
  if (removed) {
    return Kicked(*removed);
  }
  if (TrimBlanks(name) == "all") {
    std::vector<std::string> lines;
    while (!state.Players().empty()) {
      lines.push_back(Kicked(*state.RemoveBySlot(state.Players().front().slot)).front());
    }
    return lines;
  }
  return {"Client " + std::string(name) + " is not on the server"};
}

std::vector<std::string> ClientKick(ServerState& state, std::string_view argument) {
  std::string_view slotText = TrimBlanks(argument);
  if (slotText.empty()) {
    return {"Usage: clientkick <clientnum>"};
  }
  try {
    std::optional<Player> removed = state.RemoveBySlot(ParseInteger(slotText, "slot", 0, 1 << 20));
    if (removed) {
      return Kicked(*removed);
    }
  } catch (const std::invalid_argument&) {
  }
  return {"Bad client slot: " + std::string(slotText)};
}

std::vector<std::string> CommandList() {
  std::vector<std::string> lines = CommandNames();
  lines.push_back(std::to_string(lines.size()) + " commands");
  return lines;
}

}  // namespace

std::optional<std::vector<std::string>> RconOutput(ServerState& state, std::string_view request) {
  request = WithoutLineEnd(request);
  if (request.size() < 4 || !EqualsIgnoringCase(request.substr(0, 4), "rcon") ||
      (request.size() > 4 && request[4] != ' ')) {
    return std::nullopt;
  }
  std::string_view rest = SkipBlanks(request.substr(4));
  std::size_t passwordEnd = rest.find(' ');
  std::string_view password = rest.substr(0, passwordEnd);
  std::string_view command =
      passwordEnd == std::string_view::npos ? std::string_view{} : SkipBlanks(rest.substr(passwordEnd));

  if (state.settings.password.empty()) {
    return std::vector<std::string>{"No rconpassword set on the server."};
  }
  if (password != state.settings.password) {
    return std::vector<std::string>{"Bad rconpassword."};
  }
  if (command.empty()) {
    return std::vector<std::string>{};
  }
  std::size_t wordEnd = command.find(' ');
  std::string_view word = command.substr(0, wordEnd);
  // The argument is everything after the one blank that ends the word, so
  // names keep their own leading blanks.
  std::string_view argument = wordEnd == std::string_view::npos ? std::string_view{} : command.substr(wordEnd + 1);

  if (EqualsIgnoringCase(word, "status")) {
    return StatusTable(state);
  }
  if (EqualsIgnoringCase(word, "say")) {
    return std::vector<std::string>{"console: " + std::string(argument)};
  }
  if (EqualsIgnoringCase(word, "kick")) {
    return Kick(state, argument);
  }
  if (EqualsIgnoringCase(word, "clientkick")) {
    return ClientKick(state, argument);
  }
  if (EqualsIgnoringCase(word, "map")) {
    return ChangeMap(state, argument);
  }
  if (EqualsIgnoringCase(word, "serverinfo")) {
    return ServerInfo(state);
  }
  if (EqualsIgnoringCase(word, "cmdlist")) {
    return CommandList();
  }
  return std::vector<std::string>{"Unknown command: " + std::string(word)};
}

}  // namespace kestrova::simserver
