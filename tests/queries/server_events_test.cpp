// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/server_events.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova::test {
namespace {

using std::chrono::milliseconds;

// Cycles as the window records them, at `ms` milliseconds of monitoring.
CycleResult Quiet(int ms) {
  CycleResult cycle;
  cycle.at = milliseconds(ms);
  cycle.endpoint = "127.0.0.1:12203";
  return cycle;
}

CycleResult Skipped(int ms) {
  CycleResult cycle = Quiet(ms);
  cycle.infoSkipped = true;
  return cycle;
}

CycleResult Reply(int ms) {
  CycleResult cycle = Quiet(ms);
  cycle.infoAnswered = true;
  cycle.hostName = "Test Server";
  return cycle;
}

CycleResult Map(int ms, const std::string& map) {
  CycleResult cycle = Reply(ms);
  cycle.map = map;
  return cycle;
}

CycleResult Players(int ms, const std::vector<std::string>& names) {
  CycleResult cycle = Reply(ms);
  cycle.statusAnswered = true;
  cycle.players = names;
  return cycle;
}

CycleResult Counts(int ms, const std::string& clients, const std::string& maxClients) {
  CycleResult cycle = Reply(ms);
  cycle.clients = clients;
  cycle.maxClients = maxClients;
  return cycle;
}

struct Case {
  const char* what;
  std::vector<CycleResult> cycles;
  // The texts of every event the cycles gave, in order.
  std::vector<std::string> events;
};

const Case kCases[] = {
    {"the first cycle tells nothing",
     {[] {
       CycleResult first = Counts(0, "16", "16");
       first.map = "dm/mohdm1";
       first.players = std::vector<std::string>{"alice"};
       return first;
     }()},
     {}},
    {"a new map",
     {Map(0, "dm/mohdm1"), Map(500, "dm/mohdm6")},
     {"Test Server changed map from dm/mohdm1 to dm/mohdm6"}},
    {"the same map", {Map(0, "dm/mohdm1"), Map(500, "dm/mohdm1")}, {}},
    {"a reply without the map compares with the last map known",
     {Map(0, "dm/mohdm1"), Reply(500), Map(1000, "dm/mohdm2")},
     {"Test Server changed map from dm/mohdm1 to dm/mohdm2"}},
    {"one player joins", {Players(0, {"alice"}), Players(500, {"alice", "Big Al"})}, {"Test Server: Big Al joined"}},
    {"several join and leave in one cycle",
     {Players(0, {"a", "b", "c"}), Players(500, {"b", "d", "e"})},
     {"Test Server: d and e joined, a and c left"}},
    {"three leave", {Players(0, {"a", "b", "c"}), Players(500, {})}, {"Test Server: a, b and c left"}},
    {"one of two equal names leaves", {Players(0, {"x", "x"}), Players(500, {"x"})}, {"Test Server: x left"}},
    {"names are compared exactly", {Players(0, {"Bob"}), Players(500, {"bob"})}, {"Test Server: bob joined, Bob left"}},
    {"a cycle without the list compares nothing", {Players(0, {"a"}), Reply(500), Players(1000, {"a"})}, {}},
    {"the count reaches the maximum",
     {Counts(0, "15", "16"), Counts(500, "16", "16")},
     {"Test Server is full: 16 of 16 players"}},
    {"full stays full",
     {Counts(0, "15", "16"), Counts(500, "16", "16"), Counts(1000, "17", "16")},
     {"Test Server is full: 16 of 16 players"}},
    {"full again after a free slot",
     {Counts(0, "16", "16"), Counts(500, "15", "16"), Counts(1000, "16", "16")},
     {"Test Server is full: 16 of 16 players"}},
    {"counts that are no numbers", {Counts(0, "15", "16"), Counts(500, "16x", "16"), Counts(1000, "16", "")}, {}},
    {"quiet for less than five seconds", {Reply(0), Quiet(1200), Quiet(2400), Quiet(3600), Quiet(4999)}, {}},
    {"quiet for five seconds",
     {Reply(0), Quiet(1200), Quiet(2400), Quiet(3600), Quiet(5000)},
     {"Test Server stops answering: no reply for 5 s"}},
    {"silence is told once",
     {Reply(0), Quiet(6000), Quiet(7000), Quiet(8000)},
     {"Test Server stops answering: no reply for 6 s"}},
    {"skipped ticks alone are no silence", {Reply(0), Skipped(2000), Skipped(4500), Skipped(9000)}, {}},
    {"a request unanswered after skipped ticks counts from the last reply",
     {Reply(0), Skipped(2000), Skipped(4500), Quiet(6000)},
     {"Test Server stops answering: no reply for 6 s"}},
    {"skipped ticks after a short quiet tell nothing", {Reply(0), Quiet(3000), Skipped(4000), Skipped(7500)}, {}},
    {"an answer resets the quiet time", {Reply(0), Quiet(4000), Reply(4500), Quiet(9000)}, {}},
    {"answers again with how long it was quiet",
     {Reply(1000), Quiet(7000), Quiet(20000), Reply(73500)},
     {"Test Server stops answering: no reply for 6 s", "Test Server answers again after 1 min 12 s of silence"}},
    {"an answer on the query port alone counts",
     {Reply(0), Quiet(6000),
      [] {
        CycleResult status = Quiet(8000);
        status.statusAnswered = true;
        return status;
      }()},
     {"Test Server stops answering: no reply for 6 s", "Test Server answers again after 8 s of silence"}},
    {"back on another map",
     {Map(0, "dm/mohdm1"), Quiet(6000), Map(9000, "dm/mohdm2")},
     {"Test Server stops answering: no reply for 6 s", "Test Server answers again after 9 s of silence",
      "Test Server changed map from dm/mohdm1 to dm/mohdm2"}},
    {"a server that never answered is named by its endpoint",
     {Quiet(0), Quiet(2500), Quiet(5000)},
     {"127.0.0.1:12203 stops answering: no reply for 5 s"}},
    {"an empty host name keeps the one known",
     {Reply(0),
      [] {
        CycleResult nameless = Map(500, "dm/mohdm1");
        nameless.hostName = "";
        return nameless;
      }(),
      Quiet(6000)},
     {"Test Server stops answering: no reply for 5 s"}},
};

// The kind a text tells of, for checking the kind each event carries.
EventKind KindOf(const std::string& text) {
  const auto holds = [&](const char* part) { return text.find(part) != std::string::npos; };
  return holds("answer") ? EventKind::Silence
         : holds("map")  ? EventKind::MapChange
         : holds("full") ? EventKind::Full
                         : EventKind::Players;
}

TEST(ServerEvents, FollowTheCycles) {
  for (const Case& c : kCases) {
    ServerView view;
    std::vector<std::string> texts;
    for (const CycleResult& cycle : c.cycles) {
      Detection detection = DetectServerEvents(view, cycle);
      for (const ServerEvent& event : detection.events) {
        texts.push_back(event.text);
        EXPECT_EQ(event.kind, KindOf(event.text)) << event.text;
      }
      view = std::move(detection.view);
    }
    EXPECT_EQ(texts, c.events) << c.what;
  }
}

TEST(DurationText, WritesSecondsMinutesAndHours) {
  const std::pair<int, const char*> cases[] = {
      {0, "0 s"},       {999, "0 s"},           {59999, "59 s"},
      {60000, "1 min"}, {125000, "2 min 5 s"},  {3599999, "59 min 59 s"},
      {3600000, "1 h"}, {3780000, "1 h 3 min"},
  };
  for (const auto& [ms, text] : cases) {
    EXPECT_EQ(DurationText(milliseconds(ms)), text) << ms;
  }
}

}  // namespace
}  // namespace kestrova::test
