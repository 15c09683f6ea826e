// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

// What one query cycle learnt about the server. A value is set only when
// this cycle's reply told it.
struct CycleResult {
  // When the cycle ended, on a clock that only runs forward.
  std::chrono::milliseconds at{0};
  // How to name the server while its host name is unknown ("ADDRESS:PORT").
  std::string endpoint;
  // The request allowance left the info query out of this tick: the
  // server was not asked, so its quiet says nothing.
  bool infoSkipped = false;
  // A datagram came back to the info request, or to the status request.
  bool infoAnswered = false;
  bool statusAnswered = false;
  // From a valid info reply: the host name (blanks between its words as
  // the window shows them), the map and the two counts as sent.
  std::optional<std::string> hostName;
  std::optional<std::string> map;
  std::optional<std::string> clients;
  std::optional<std::string> maxClients;
  // The names in the player list, when the status reply was read to its end.
  std::optional<std::vector<std::string>> players;
};

// The kinds of change a desktop notification tells about.
enum class EventKind { Silence, MapChange, Players, Full };

// The number of kinds in EventKind, for loops and tables.
inline constexpr int kEventKindCount = 4;

// One change to tell the user, in a text that names the server.
struct ServerEvent {
  EventKind kind;
  std::string text;

  friend bool operator==(const ServerEvent&, const ServerEvent&) = default;
};

// How long the server may stay quiet before that is a change worth telling.
inline constexpr std::chrono::milliseconds kSilenceLimit{5000};

// What the watcher knows after the cycles seen so far: the last values the
// server told and how long it has been quiet.
struct ServerView {
  bool started = false;
  // When the server last answered; the first cycle's end before any answer.
  std::chrono::milliseconds lastAnswerAt{0};
  // Time since the last reply, as of the last cycle that asked the server.
  std::chrono::milliseconds quietFor{0};
  bool silenceTold = false;
  std::optional<std::string> hostName;
  std::optional<std::string> map;
  std::optional<std::vector<std::string>> players;
  std::optional<bool> full;
};

struct Detection {
  ServerView view;
  std::vector<ServerEvent> events;
};

// Compares one cycle with what earlier cycles showed and says what changed,
// in this order:
// - the server answers again after its silence was told, with how long it
//   was quiet (from its last answer to this one);
// - the map changed;
// - players joined or left, by name, all of this cycle in one event;
// - the player count reached sv_maxclients;
// - no reply on either port for kSilenceLimit of cycles that asked it
//   (skipped ticks do not count), told once until it answers again.
// A value seen for the first time is no change. Pure: the same inputs give
// the same result.
Detection DetectServerEvents(const ServerView& before, const CycleResult& cycle);

// A span of time as the notifications write it: "5 s", "2 min 5 s", "1 h 3 min".
std::string DurationText(std::chrono::milliseconds span);

}  // namespace kestrova
