// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simserver/server_options.h"

#include <stdexcept>

#include "tools/arguments/option_reader.h"
#include "tools/simserver/number_text.h"
#include "tools/simserver/server_state.h"

namespace kestrova::simserver {

namespace {

constexpr std::string_view kFaultOptions[] = {"silent", "garbage", "oversize", "duplicate", "reorder"};

// Every option: the switches, then those with a value, the settings last.
std::vector<LongOption> OptionTable() {
  std::vector<LongOption> table{{"static", false}, {"ratelimit", false}};
  for (std::string_view name :
       {"game-port", "query-port", "players", "seed", "scenario", "delay", "drop-part", "loss", "print-cut", "final"}) {
    table.push_back({name, true});
  }
  for (std::string_view fault : kFaultOptions) table.push_back({fault, true});
  for (std::string_view key : kSettingKeys) table.push_back({key, true});
  return table;
}

}  // namespace

ServerOptions ParseOptions(const std::vector<std::string>& arguments) {
  const OptionsRead read = ReadOptions(arguments, OptionTable(), 0, Repeats::Allowed);
  ServerOptions options;
  options.help = read.asks == "--help";
  options.version = read.asks == "--version";
  for (const auto& [option, value] : read.options) {
    const std::string name = option.substr(2);
    if (name == "static") {
      options.frozen = true;
    } else if (name == "ratelimit") {
      options.faults.SetRateLimited(true);
    } else if (name == "game-port") {
      options.gamePort = ParseInteger(value, "--game-port", 0, 65535);
    } else if (name == "query-port") {
      options.queryPort = ParseInteger(value, "--query-port", 0, 65535);
    } else if (name == "players") {
      options.generatedPlayers = ParseInteger(value, "--players", 0, 1024);
    } else if (name == "seed") {
      options.seed = static_cast<unsigned>(ParseInteger(value, "--seed", 0, 2147483647));
    } else if (name == "scenario") {
      options.scenarioPath = value;
    } else if (name == "delay" || name == "drop-part") {
      const std::size_t colon = value.find(':');
      if (colon == std::string::npos) {
        throw std::invalid_argument(option + " is written " + option + "=CHANNEL:" + (name == "delay" ? "MS" : "N") +
                                    ", not '" + value + "'");
      }
      options.faults.Set(name == "delay" ? "delay" : "droppart", value.substr(0, colon), value.substr(colon + 1));
    } else if (name == "loss") {
      options.loss = ParseLoss(value);
    } else if (name == "print-cut") {
      options.style.SetPrintCut(value);
    } else if (name == "final") {
      options.style.SetFinalPlace(value);
    } else if (IsSettingKey(name)) {
      ServerSettings check;
      ApplySetting(check, name, value);
      options.settings.emplace_back(name, value);
    } else {
      options.faults.Set(name, value, "on");
    }
  }
  return options;
}

std::string UsageText() {
  return R"(Usage: kestrova-simserver [OPTION]...
A simulated game server on 127.0.0.1 for tests, demos and benchmarks. It
answers "getinfo" and console ("rcon") requests on the game port and
"\status\" on the query port, then prints one line
  kestrova-simserver game GAMEPORT query QUERYPORT
and serves until SIGTERM, SIGINT or the control line "quit" (also while
its standard input never stops delivering).

Endpoint and run:
  --game-port N         game port (default 12203; 0 picks a free one)
  --query-port N        query port (default 12300; 0 picks a free one)
  --static              keep frags, deaths and pings still (default: they
                        change every second)
  --seed N              seed of the random numbers, for repeatable runs
  --help                print this text
  --version             print the program's name and version

Server:
  --scenario FILE       key=value lines: any setting below without its
                        dashes, player=NAME;FRAGS;DEATHS;PING (repeatable),
                        players=N; options given here win over the file
  --players N           N more players with generated names
  --hostname TEXT       host name (default "Kestrova Test Server")
  --map NAME            map with its folder (default dm/mohdm1)
  --password TEXT       console password (default secret; empty: none set)
  --gametype N          game type number (default 1)
  --gametypestring TEXT game type name (default: the name of the number)
  --fraglimit N         (default 0)      --timelimit N    (default 20)
  --maxclients N        (default 16, raised to fit the players)
  --maxping N           (default 200)    --pure 0|1       (default 1)
  --gamever TEXT        (default 1.11)

How replies are shaped (real servers differ in these):
  --print-cut=anywhere|lines
                        console output is cut into datagrams after every
                        1000 bytes of text, inside a line too, as real
                        servers cut it (anywhere, the default), or only
                        between lines into datagrams of at most 1400 bytes
  --final=before|after  the last status part carries \final\ before its
                        \queryid\Q.P marker (the default) or after it

Misbehaviour (CHANNEL is info, status, rcon or all):
  --silent=CHANNEL      never answer
  --delay=CHANNEL:MS    answer MS milliseconds late
  --garbage=CHANNEL     answer with random bytes
  --oversize=CHANNEL    answer with one datagram of 9000 bytes
  --duplicate=CHANNEL   send every reply datagram twice
  --reorder=CHANNEL     send the datagrams of a reply of several last first
  --drop-part=CHANNEL:N[:EVERY]
                        leave out datagram N (from 1) of a reply of several,
                        in every EVERY-th such reply of the channel (default:
                        in each)
  --loss=PERCENT[:SEED] lose PERCENT (0 to 100, e.g. 1 or 0.5) of all reply
                        datagrams on both ports by chance, as a lossy
                        network does; SEED repeats the same losses (default:
                        drawn from --seed)
  --ratelimit           answer at most 10 game-port requests (getinfo and
                        rcon together) per sender address, whatever its
                        source port, refilled at one a second; the query
                        port is never limited

Control lines on standard input (each answered "ok" or "error: ..."):
  silent|garbage|oversize|duplicate|reorder CHANNEL on|off
  delay CHANNEL MS
  droppart CHANNEL N[:EVERY]  (N 0: leave every datagram in)
  loss PERCENT[:SEED]   (0: lose nothing; without SEED the draws go on)
  ratelimit on|off      (on: every sender starts with a full budget)
  ratelimit pass MS     the budget's clock stands still from then on, but
                        for the MS that each such line moves it
  requests              answers "ok info N L rcon N L status N lost info
                        I status S rcon R": the requests of each kind so
                        far, L of them left unanswered by the rate limit,
                        and the reply datagrams of each kind that the loss
                        took
  normal                every fault, the loss and the rate limit off
  printcut anywhere|lines
  final before|after
  player add NAME;FRAGS;DEATHS;PING   (a name holds no backslash)
  player remove NAME
  players clear
  static on|off
  SETTING VALUE         e.g. "map dm/mohdm2", "hostname My Server"
  quit
End of input does not stop the server.

Console commands (rcon PASSWORD COMMAND): status, say TEXT, kick NAME,
kick all, clientkick SLOT, map NAME, serverinfo, cmdlist. Every command is
answered with at least one datagram, "print\n" alone when it prints
nothing. map changes only to a map the server has: dm/mohdm1 to dm/mohdm7,
obj/obj_team1 to obj/obj_team4 or the current one; for any other it
prints "Can't find map maps/NAME.bsp" and stays.

Exit status: 0 after a stop, --help or --version; 1 when the server cannot
run (a port in use, an unreadable scenario); 2 wrong usage.
)";
}

}  // namespace kestrova::simserver
