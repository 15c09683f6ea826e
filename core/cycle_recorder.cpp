// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cycle_recorder.h"

#include <utility>
#include <vector>

#include "core/info_query.h"

namespace kestrova {

CycleResult RecordCycle(const CycleOutcome& outcome, const DisplayModel& shown, std::chrono::milliseconds at,
                        std::string endpoint) {
  CycleResult result;
  result.at = at;
  result.endpoint = std::move(endpoint);
  result.infoSkipped = outcome.completed && outcome.infoSkipped;
  // A received info reply replaces its list before anything can fail.
  result.infoAnswered = outcome.infoSent && !shown.InfoList().empty();
  result.statusAnswered = outcome.statusIncomplete || (outcome.statusAnswered && !shown.StatusList().empty());
  if (outcome.infoSent && IsInfoReply(shown.InfoList())) {
    // The host-name join puts one blank before every word, the first too.
    result.hostName = shown.Value(ShownLabel::HostName);
    if (result.hostName && result.hostName->starts_with(' ')) {
      result.hostName->erase(0, 1);
    }
    result.map = shown.Value(ShownLabel::MapName);
    result.clients = shown.Value(ShownLabel::Clients);
    result.maxClients = shown.Value(ShownLabel::MaxClients);
  }
  if (outcome.completed && result.statusAnswered && !outcome.statusIncomplete) {
    std::vector<std::string> names;
    names.reserve(shown.RowCount());
    for (const PlayerRow& row : shown.RowsInReplyOrder()) {
      // A caption is the joined name behind one blank.
      names.push_back(row.caption.starts_with(' ') ? row.caption.substr(1) : row.caption);
    }
    result.players = std::move(names);
  }
  return result;
}

}  // namespace kestrova
