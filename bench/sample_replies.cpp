// SPDX-License-Identifier: GPL-3.0-or-later
#include "sample_replies.h"

namespace kestrova::bench {

std::string SampleInfoReply() {
  return "\xFF\xFF\xFF\xFFinfoResponse\n"
         "\\pure\\1\\gametype\\2\\sv_maxclients\\64\\clients\\64\\mapname\\dm/mohdm1"
         "\\hostname\\Kestrova Benchmark Server Number One\\protocol\\8"
         "\\gametypestring\\Team-Match\\maxPing\\200";
}

std::string SampleStatusReply(int players, int round) {
  std::string reply =
      "\\gamename\\mohaa\\gamever\\1.11\\location\\0\\hostname\\Kestrova Benchmark Server\\hostport\\12203"
      "\\mapname\\mohdm1\\gametype\\Team-Match\\numplayers\\" +
      std::to_string(players) + "\\maxplayers\\64\\gamemode\\openplaying\\fraglimit\\0\\timelimit\\20";
  for (int i = 0; i < players; ++i) {
    const std::string n = std::to_string(i);
    const int frags = i * 7 % 50 + (i == round % players ? round : 0);
    const int deaths = i * 3 % 20 + (i == (round + 1) % players ? round : 0);
    const int ping = 20 + i + round % 7;
    reply += "\\player_" + n + "\\Player Number" + n + "\\frags_" + n + "\\" + std::to_string(frags) +
             "\\deaths_" + n + "\\" + std::to_string(deaths) + "\\ping_" + n + "\\" + std::to_string(ping);
  }
  return reply;
}

}  // namespace kestrova::bench
