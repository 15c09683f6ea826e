// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Everything a control line or a scenario can change in the simulated
// server, as one comparable text.

#include <string>

#include "tools/simserver/misbehaviour.h"
#include "tools/simserver/reply_style.h"
#include "tools/simserver/server_state.h"

namespace kestrova::fuzz {

inline std::string Snapshot(const simserver::ServerSettings& s) {
  return s.hostname + '\0' + s.map + '\0' + std::to_string(s.gametype) + '\0' + s.gametypeString + '\0' +
         std::to_string(s.fraglimit) + '\0' + std::to_string(s.timelimit) + '\0' + std::to_string(s.maxClients) + '\0' +
         std::to_string(s.maxPing) + '\0' + std::to_string(s.pure) + '\0' + s.gameVersion + '\0' + s.password;
}

inline std::string Snapshot(const simserver::Player& p) {
  return std::to_string(p.slot) + '\0' + p.name + '\0' + std::to_string(p.frags) + '\0' + std::to_string(p.deaths) +
         '\0' + std::to_string(p.ping);
}

inline std::string Snapshot(const simserver::ServerState& state, const simserver::Misbehaviour& faults,
                            const simserver::ReplyStyle& style, bool frozen) {
  std::string text = Snapshot(state.settings);
  for (const simserver::Player& player : state.Players()) {
    text += '\1' + Snapshot(player);
  }
  for (const simserver::Channel channel :
       {simserver::Channel::kInfo, simserver::Channel::kStatus, simserver::Channel::kRcon}) {
    const simserver::ChannelFaults& f = faults.Faults(channel);
    text += '\2' + std::to_string(f.silent) + std::to_string(f.garbage) + std::to_string(f.oversize) +
            std::to_string(f.duplicate) + std::to_string(f.reorder) + ' ' + std::to_string(f.delayMs) + ' ' +
            std::to_string(f.dropPart) + ':' + std::to_string(f.dropEvery);
  }
  text += '\4' + std::to_string(faults.LossPercent());
  text +=
      '\3' + std::to_string(style.printCutAnywhere) + std::to_string(style.finalAfterQueryId) + std::to_string(frozen);
  return text;
}

}  // namespace kestrova::fuzz
