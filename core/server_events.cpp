// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/server_events.h"

#include <algorithm>
#include <charconv>

namespace kestrova {

namespace {

using std::chrono::milliseconds;

// A count as the server sends it: decimal digits only.
std::optional<long long> Count(const std::optional<std::string>& text) {
  if (!text || text->empty()) {
    return std::nullopt;
  }
  long long value = 0;
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, value);
  if (error != std::errc() || stop != end || value < 0) {
    return std::nullopt;
  }
  return value;
}

// The names of `a` that `b` lacks, a name listed twice counting twice; in
// the order of `a`.
std::vector<std::string> Missing(const std::vector<std::string>& a, std::vector<std::string> b) {
  std::vector<std::string> missing;
  for (const std::string& name : a) {
    const auto found = std::find(b.begin(), b.end(), name);
    if (found == b.end()) {
      missing.push_back(name);
    } else {
      b.erase(found);
    }
  }
  return missing;
}

// "a", "a and b", "a, b and c".
std::string NameList(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i > 0) {
      text += i + 1 == names.size() ? " and " : ", ";
    }
    text += names[i];
  }
  return text;
}

std::string PlayersText(const std::vector<std::string>& joined, const std::vector<std::string>& left) {
  std::string text;
  if (!joined.empty()) {
    text += NameList(joined) + " joined";
  }
  if (!left.empty()) {
    text += (text.empty() ? "" : ", ") + NameList(left) + " left";
  }
  return text;
}

}  // namespace

std::string DurationText(milliseconds span) {
  const long long seconds = std::max<long long>(0, span.count() / 1000);
  if (seconds < 60) {
    return std::to_string(seconds) + " s";
  }
  if (seconds < 3600) {
    const long long rest = seconds % 60;
    return std::to_string(seconds / 60) + " min" + (rest > 0 ? " " + std::to_string(rest) + " s" : "");
  }
  const long long minutes = seconds / 60 % 60;
  return std::to_string(seconds / 3600) + " h" + (minutes > 0 ? " " + std::to_string(minutes) + " min" : "");
}

Detection DetectServerEvents(const ServerView& before, const CycleResult& cycle) {
  Detection result{before, {}};
  ServerView& view = result.view;
  std::vector<ServerEvent>& events = result.events;
  if (!view.started) {
    view.started = true;
    view.lastAnswerAt = cycle.at;
  }

  if (cycle.hostName && !cycle.hostName->empty()) {
    view.hostName = cycle.hostName;
  }
  const std::string name = view.hostName ? *view.hostName : cycle.endpoint;

  const bool answered = cycle.infoAnswered || cycle.statusAnswered;
  if (answered) {
    if (view.silenceTold) {
      events.push_back({EventKind::Silence,
                        name + " answers again after " + DurationText(cycle.at - view.lastAnswerAt) + " of silence"});
    }
    view.silenceTold = false;
    view.quietFor = milliseconds(0);
    view.lastAnswerAt = cycle.at;
  } else if (!cycle.infoSkipped) {
    // A request went unanswered: the server has been quiet since its last
    // reply. A tick the request allowance skipped asked nothing and so
    // neither adds to the quiet time nor tells it; but the time it spent
    // counts once a request after it finds the server still quiet, or
    // pacing would make a server that went down known three times later.
    view.quietFor = cycle.at - view.lastAnswerAt;
  }

  if (cycle.map) {
    if (view.map && *view.map != *cycle.map) {
      events.push_back({EventKind::MapChange, name + " changed map from " + *view.map + " to " + *cycle.map});
    }
    view.map = cycle.map;
  }

  if (cycle.players) {
    if (view.players) {
      const std::vector<std::string> joined = Missing(*cycle.players, *view.players);
      const std::vector<std::string> left = Missing(*view.players, *cycle.players);
      if (!joined.empty() || !left.empty()) {
        events.push_back({EventKind::Players, name + ": " + PlayersText(joined, left)});
      }
    }
    view.players = cycle.players;
  }

  const std::optional<long long> clients = Count(cycle.clients);
  const std::optional<long long> maxClients = Count(cycle.maxClients);
  if (clients && maxClients && *maxClients > 0) {
    const bool full = *clients >= *maxClients;
    if (full && view.full == false) {
      events.push_back(
          {EventKind::Full, name + " is full: " + *cycle.clients + " of " + *cycle.maxClients + " players"});
    }
    view.full = full;
  }

  if (!answered && !view.silenceTold && view.quietFor >= kSilenceLimit) {
    events.push_back({EventKind::Silence, name + " stops answering: no reply for " + DurationText(view.quietFor)});
    view.silenceTold = true;
  }
  return result;
}

}  // namespace kestrova
