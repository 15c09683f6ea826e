// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/status_query.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/integer_text.h"
#include "core/socket_error.h"
#include "core/status_reply_parts.h"
#include "queries/scripted_server.h"
#include "support/query_window.h"
#include "support/sim_server.h"

namespace kestrova::test {
namespace {

using Rows = std::vector<PlayerRow>;

const Rows kExampleRows = {{" Big Al", {"12", "3", "48"}}, {" bob", {"4", "9", "110"}}};

// The eight fields of one player.
std::vector<std::string> Player(int index, const std::string& name, const std::string& frags, const std::string& deaths,
                                const std::string& ping) {
  const std::string n = std::to_string(index);
  return {"player_" + n, name, "frags_" + n, frags, "deaths_" + n, deaths, "ping_" + n, ping};
}

class StatusQueryTest : public ::testing::Test {
 protected:
  StatusQueryTest() {
    udp2.ReceiveTimeout = 2000;
    window.queryPortText = std::to_string(server.Port());
  }

  void AskWith(std::vector<std::string> replies) {
    server.Start({replies});
    QueryStatus(udp2, window, shown);
    requests = server.Finish();
  }

  // The status request goes out by hand; the reply is then gathered. A
  // retry, when one is expected, is answered with `retried`.
  StatusReply Gather(std::vector<std::string> replies, std::optional<std::vector<std::string>> retried = {}) {
    std::vector<ScriptedServer::Turn> turns{std::move(replies)};
    if (retried) {
      turns.push_back(std::move(*retried));
    }
    server.Start(std::move(turns));
    udp2.Host = "127.0.0.1";
    udp2.Port = server.Port();
    udp2.Send(kStatusRequest);
    StatusReply reply = ReceiveStatusReply(udp2);
    requests = server.Finish();
    return reply;
  }
  std::string GatherAfter(std::vector<std::string> replies) { return Gather(std::move(replies)).text; }

  ScriptedServer server;
  DatagramClient udp2;
  QueryWindow window;
  DisplayModel& shown = window.shown;
  std::vector<std::string> requests;
};

TEST_F(StatusQueryTest, TimeOutEmptiesThePlayerList) {
  udp2.ReceiveTimeout = 200;
  shown.ReplaceRows(kExampleRows);

  AskWith({});

  EXPECT_EQ(requests.size(), 1u);
  EXPECT_TRUE(shown.Rows().empty());
  EXPECT_TRUE(shown.StatusList().empty());
  EXPECT_EQ(shown.Label(ShownLabel::FragLimit), "fraglimit:");
  EXPECT_EQ(shown.Label(ShownLabel::TimeLimit), "timelimit:");
}

TEST_F(StatusQueryTest, FailedReceiveKeepsThePreviousRows) {
  shown.ReplaceRows(kExampleRows);

  try {
    AskWith({std::string(8193, 'x')});
    FAIL() << "no failure";
  } catch (const SocketError& error) {
    EXPECT_EQ(error.Code(), 10040);
  }
  server.Finish();

  EXPECT_EQ(shown.Rows(), kExampleRows);
}

TEST_F(StatusQueryTest, BadQueryPortSendsNothing) {
  window.queryPortText = "";
  shown.ReplaceRows(kExampleRows);

  EXPECT_THROW(QueryStatus(udp2, window, shown), ConversionError);

  EXPECT_FALSE(server.Peer().Receive(300).has_value());
  EXPECT_EQ(shown.Rows(), kExampleRows);
}

// A reply that comes after its receive gave up is what the next run
// reads: the players show one run late instead of never.
TEST_F(StatusQueryTest, LateReplyIsShownByTheNextRunNeverMixedWithANewerOne) {
  udp2.ReceiveTimeout = 300;
  QueryStatus(udp2, window, shown);
  EXPECT_TRUE(shown.Rows().empty());
  ASSERT_EQ(server.Peer().Receive(), "\\status\\");
  server.Peer().Reply(Fields(Player(0, "late", "1", "2", "3")) + "\\queryid\\5.1\\final\\");

  QueryStatus(udp2, window, shown);

  EXPECT_EQ(shown.Rows(), (Rows{{" late", {"1", "2", "3"}}}));
  ASSERT_EQ(server.Peer().Receive(), "\\status\\");
  // Parts of an older reply around a newer whole one: the first to come
  // whole is taken.
  server.Peer().Reply(Fields(Player(0, "old", "1", "2", "3")) + "\\queryid\\7.1");
  server.Peer().Reply(Fields(Player(0, "new", "4", "5", "6")) + "\\final\\\\queryid\\8.1");
  server.Peer().Reply(Fields(Player(1, "old too", "7", "8", "9")) + "\\queryid\\7.2\\final\\");

  QueryStatus(udp2, window, shown);

  EXPECT_EQ(shown.Rows(), (Rows{{" new", {"4", "5", "6"}}}));
}

// A server with many players splits its reply; each part names the reply
// and its number. Here a player's fields straddle the part boundaries.
const std::string kPart1 = Fields({"fraglimit", "10", "player_0", "Big Al", "frags_0"}) + "\\queryid\\77.1";
const std::string kPart2 = Fields({"12", "k", "3", "k", "48", "player_1"}) + "\\queryid\\77.2";
const std::string kPart3 = Fields({"bob", "frags_1", "4", "k", "9", "k", "110", "final", ""}) + "\\queryid\\77.3";
const std::string kJoined = Fields({"fraglimit", "10", "player_0", "Big Al", "frags_0", "12", "k", "3", "k", "48",
                                    "player_1", "bob", "frags_1", "4", "k", "9", "k", "110"});

TEST_F(StatusQueryTest, PartsArrivingOutOfOrderAreJoinedInOrder) {
  AskWith({kPart3, kPart1, kPart2});

  EXPECT_EQ(shown.Label(ShownLabel::FragLimit), "fraglimit: 10");
  EXPECT_EQ(shown.Rows(), kExampleRows);
  EXPECT_EQ(shown.StatusList(),
            (TokenList{"",  "fraglimit", "10",       "player_0", "Big",     "Al", "frags_0", "12", "k", "3",
                       "k", "48",        "player_1", "bob",      "frags_1", "4",  "k",       "9",  "k", "110"}));
}

// A part lost on the way: the request goes out once more, and the first
// reply to come whole is taken, parts of two replies never mixed.
struct RetryCase {
  const char* name;
  std::vector<std::string> first;
  std::vector<std::string> retried;
  std::string text;     // the reply taken; empty when none came whole
  std::string gapText;  // what was missing, when none did
};

const std::string kRetry1 = Fields({"fraglimit", "10", "player_0", "Carl", "frags_0"}) + "\\queryid\\78.1";
const std::string kRetry2 = Fields({"1", "k", "2", "k", "3"}) + "\\queryid\\78.2";
const std::string kRetry3 = Fields({"final", ""}) + "\\queryid\\78.3";
const std::string kRetryJoined = Fields({"fraglimit", "10", "player_0", "Carl", "frags_0", "1", "k", "2", "k", "3"});

class StatusRetryTest : public StatusQueryTest, public ::testing::WithParamInterface<RetryCase> {};

TEST_P(StatusRetryTest, AsksOnceMoreAndTakesTheFirstWholeReply) {
  udp2.ReceiveTimeout = 1000;
  const auto start = std::chrono::steady_clock::now();

  const StatusReply reply = Gather(GetParam().first, GetParam().retried);

  EXPECT_EQ(reply.text, GetParam().text);
  EXPECT_TRUE(reply.answered);
  EXPECT_EQ(reply.gap ? reply.gap->Text() : "", GetParam().gapText);
  EXPECT_EQ(requests, (std::vector<std::string>{"\\status\\", "\\status\\"}));
  // Every retry here is answered: nothing waits out the whole second.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
}

INSTANTIATE_TEST_SUITE_P(
    Parts, StatusRetryTest,
    ::testing::Values(RetryCase{"MiddlePartLost", {kPart1, kPart3}, {kRetry1, kRetry2, kRetry3}, kRetryJoined, ""},
                      RetryCase{"FinalPartLost", {kPart1, kPart2}, {kRetry3, kRetry2, kRetry1}, kRetryJoined, ""},
                      // The first reply's missing part comes late: it makes that one whole.
                      RetryCase{"LatePartCompletesTheFirst", {kPart1, kPart3}, {kRetry1, kPart2}, kJoined, ""},
                      RetryCase{"NeverMixed", {kPart1, kPart3}, {kRetry1, kRetry3}, "", "part 2 of 3 missing"},
                      RetryCase{"FinalNeverCame", {kPart1, kPart2}, {kRetry1}, "", "final part missing"},
                      RetryCase{"LowPartLostAndNoFinal", {kPart2}, {kRetry2}, "", "part 1 and the final part missing"}),
    [](const auto& info) { return std::string(info.param.name); });

// Anyone can send parts of a reply that never ends, each a new number: a
// reply is gathered from its first kMostStatusParts parts at most, so that
// its gathering cannot fill the memory.
TEST_F(StatusQueryTest, PartsNumberedBeyondTheMostAReplyHasAreDropped) {
  udp2.ReceiveTimeout = 500;
  std::vector<std::string> parts;
  for (int n = 1; n <= kMostStatusParts + 50; ++n) {
    parts.push_back(Fields(Player(n, "p", "1", "2", "3")) + "\\queryid\\66." + std::to_string(n));
  }
  parts.back() += "\\final\\";

  const StatusReply reply = Gather(parts, std::vector<std::string>{});

  ASSERT_TRUE(reply.gap.has_value());
  EXPECT_EQ(reply.gap->Text(), "final part missing");
  EXPECT_TRUE(reply.text.empty());
}

// What a gathering passes on, the markers gone from a reply of several
// parts; once a reply is whole (a single datagram, or the part that ends
// it) it is not waited on: the datagram sent after it stays queued.
TEST_F(StatusQueryTest, GathersOneWholeReplyAndLeavesWhatFollowsQueued) {
  const std::string lastPart = Fields({"bob", "frags_1", "4", "k", "9", "k", "110"}) + "\\queryid\\77.3\\final\\";
  const std::string single = Fields(Player(0, "a", "1", "2", "3"));
  struct Case {
    const char* what;
    std::vector<std::string> datagrams;
    std::string text;
  } const cases[] = {
      {"parts joined without their markers", {kPart2, kPart3, kPart1}, kJoined},
      {"repeated parts and another reply's parts dropped",
       {kPart1, kPart2, Fields({"player_5", "ghost"}) + "\\queryid\\76.2",
        Fields({"99", "k", "99", "k", "99", "player_1"}) + "\\queryid\\77.2", kPart3},
       kJoined},
      {"the final key after the last marker", {kPart2, lastPart, kPart1}, kJoined},
      // Servers put the final key before the queryid marker or after it.
      {"one datagram, final before its marker",
       {single + "\\final\\\\queryid\\9.1"},
       single + "\\final\\\\queryid\\9.1"},
      {"one datagram, final after its marker",
       {single + "\\queryid\\9.1\\final\\"},
       single + "\\queryid\\9.1\\final\\"},
      {"one datagram without markers", {single}, single},
  };
  for (const Case& c : cases) {
    std::vector<std::string> datagrams = c.datagrams;
    datagrams.push_back("next");
    EXPECT_EQ(GatherAfter(datagrams), c.text) << c.what;
    EXPECT_EQ(udp2.ReceiveQuietly(2000), "next") << c.what;
  }
}

// The simulated server's ways of sending a long reply: the final key on
// either side of its marker, the parts in reverse order, a part missing.
// Enough players for a reply of four parts.
constexpr int kManyPlayers = 80;

struct ServerWayCase {
  const char* name;
  std::vector<std::string> options;
  std::string gapText;  // empty: all players come through
  int players = kManyPlayers;
};

class StatusAgainstServerTest : public ::testing::TestWithParam<ServerWayCase> {};

TEST_P(StatusAgainstServerTest, GathersWhatCame) {
  std::vector<std::string> options = {"--players", std::to_string(GetParam().players)};
  options.insert(options.end(), GetParam().options.begin(), GetParam().options.end());
  SimServer server(options);
  DatagramClient udp2;
  udp2.ReceiveTimeout = 1000;
  QueryWindow window;
  window.queryPortText = std::to_string(server.QueryPort());
  DisplayModel& shown = window.shown;

  shown.ReplaceRows(kExampleRows);

  const StatusOutcome outcome = QueryStatus(udp2, window, shown);

  EXPECT_TRUE(outcome.answered);
  if (GetParam().gapText.empty()) {
    EXPECT_FALSE(outcome.gap.has_value());
    EXPECT_EQ(shown.Rows().size(), static_cast<std::size_t>(GetParam().players));
    EXPECT_EQ(shown.Label(ShownLabel::TimeLimit), "timelimit: 20");
  } else {
    // Every reply lacks the part: nothing of it is shown, the last whole
    // list stays.
    ASSERT_TRUE(outcome.gap.has_value());
    EXPECT_EQ(outcome.gap->Text(), GetParam().gapText);
    EXPECT_EQ(shown.Rows(), kExampleRows);
    EXPECT_EQ(shown.Label(ShownLabel::TimeLimit), "timelimit:");
    EXPECT_TRUE(shown.StatusList().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ways, StatusAgainstServerTest,
    ::testing::Values(ServerWayCase{"FinalBefore", {}, ""}, ServerWayCase{"FinalAfter", {"--final=after"}, ""},
                      ServerWayCase{"Reordered", {"--reorder=status"}, ""},
                      ServerWayCase{"ReorderedFinalAfter", {"--reorder=status", "--final=after"}, ""},
                      // The retry's reply comes whole.
                      ServerWayCase{"PartLostOnce", {"--drop-part=status:2:2"}, ""},
                      ServerWayCase{"MiddlePartLost", {"--drop-part=status:2"}, "part 2 of 4 missing"},
                      ServerWayCase{"LastPartLost", {"--drop-part=status:4", "--final=after"}, "final part missing"},
                      // One datagram with the final key last is a whole reply, not the
                      // first part of a longer one.
                      ServerWayCase{"OneDatagramFinalAfter", {"--final=after"}, "", 2}),
    [](const auto& info) { return std::string(info.param.name); });

// The rows as the reply reads them; a reply running off its end fails,
// keeping the rows read so far.
struct RowCase {
  const char* name;
  std::string reply;
  Rows rows;
  bool runsOff = false;
};

RowCase FortyPlayers() {
  RowCase c{"FortyPlayers", "", {}};
  for (int index = 100; index < 140; ++index) {
    c.reply += Fields(Player(index - 100, "p" + std::to_string(index), "1", "2", "3"));
    c.rows.push_back({" p" + std::to_string(index), {"1", "2", "3"}});
  }
  return c;
}

class StatusRowsTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(StatusRowsTest, RowsAsTheReplyReadsThem) {
  DisplayModel shown;

  if (GetParam().runsOff) {
    EXPECT_THROW(ShowStatusReply(GetParam().reply, shown), std::out_of_range);
  } else {
    EXPECT_NO_THROW(ShowStatusReply(GetParam().reply, shown));
  }

  EXPECT_EQ(shown.Rows(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, StatusRowsTest,
    ::testing::Values(
        RowCase{"SortedWithCaseDecidingLast",
                Fields(Player(0, "Bob", "1", "2", "3")) + Fields(Player(1, "alice", "4", "5", "6")),
                {{" alice", {"4", "5", "6"}}, {" Bob", {"1", "2", "3"}}}},
        FortyPlayers(), RowCase{"EmptyName", Fields(Player(0, "", "1", "2", "3")), {{" ", {"1", "2", "3"}}}},
        RowCase{"TwoBlanksInName", Fields(Player(0, "Big  Al", "1", "2", "3")), {{" Big Al", {"1", "2", "3"}}}},
        RowCase{"HighBytesKept",
                Fields(Player(0, "\xE9l\xE8ve \x80\xFE", "1", "2", "3")),
                {{" \xE9l\xE8ve \x80\xFE", {"1", "2", "3"}}}},
        RowCase{"NameContainingPlayerKey",
                Fields(Player(0, "xplayer_y", "1", "2", "3")) + Fields(Player(1, "bob", "4", "5", "6")),
                {{" bob", {"4", "5", "6"}},
                 {" frags_0 1 deaths_0 2 ping_0 3 player_1 bob", {"4", "5", "6"}},
                 {" xplayer_y", {"1", "2", "3"}}}},
        RowCase{"NoBackslashFirst", "player_0" + Fields({"zed", "frags_0", "1", "k", "2", "k", "3"}), {}},
        RowCase{"SingleToken", "\\", {}},
        RowCase{"WholeReplyWithMarkers",
                Fields(Player(0, "a", "1", "2", "3")) + "\\final\\\\queryid\\9.1",
                {{" a", {"1", "2", "3"}}}},
        RowCase{"LastPlayerWithoutPing",
                Fields(Player(0, "a", "1", "2", "3")) + Fields({"player_1", "b", "frags_1", "4", "k", "5", "k"}),
                {{" a", {"1", "2", "3"}}, {" b", {"4", "5"}}},
                true},
        RowCase{"NameContainingPlayerKeyWithNoPlayerAfter",
                Fields(Player(0, "xplayer_y", "1", "2", "3")),
                {{" xplayer_y", {"1", "2", "3"}}},
                true},
        RowCase{"FragLimitLast",
                Fields(Player(0, "a", "1", "2", "3")) + Fields({"fraglimit"}),
                {{" a", {"1", "2", "3"}}},
                true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StatusReplyTest, LimitsAreFoundAnywhereButAtTokenZero) {
  DisplayModel shown;

  ShowStatusReply("fraglimit" + Fields({"5", "timelimit", "7"}), shown);

  EXPECT_EQ(shown.Label(ShownLabel::FragLimit), "fraglimit:");
  EXPECT_EQ(shown.Label(ShownLabel::TimeLimit), "timelimit: 7");
}

}  // namespace
}  // namespace kestrova::test
