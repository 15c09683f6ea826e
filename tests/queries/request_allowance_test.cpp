// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/request_allowance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/manual_clock.h"

namespace kestrova {
namespace {

using namespace std::chrono_literals;

using test::ManualClock;

// One step of a scenario: let time pass, then act on the mirror.
struct Step {
  std::chrono::milliseconds wait;
  enum { kNothing, kSpend, kMark, kEmptySince } action;
  double expected;  // Available() afterwards
};

struct AllowanceCase {
  std::string name;
  std::vector<Step> steps;
};

class RequestAllowanceTest : public ::testing::TestWithParam<AllowanceCase> {};

TEST_P(RequestAllowanceTest, FollowsTheServersAllowance) {
  ManualClock clock;
  RequestAllowance allowance(clock);
  RequestAllowance::Mark mark = allowance.MarkNow();
  int number = 0;
  for (const Step& step : GetParam().steps) {
    clock.Advance(step.wait);
    switch (step.action) {
      case Step::kNothing:
        break;
      case Step::kSpend:
        allowance.Spend();
        break;
      case Step::kMark:
        mark = allowance.MarkNow();
        break;
      case Step::kEmptySince:
        allowance.EmptySince(mark);
        break;
    }
    EXPECT_DOUBLE_EQ(allowance.Available(), step.expected) << "step " << ++number;
  }
}

std::vector<Step> Spends(int count, double firstLevel) {
  std::vector<Step> steps;
  for (int i = 0; i < count; ++i) {
    steps.push_back({0ms, Step::kSpend, std::max(0.0, firstLevel - i)});
  }
  return steps;
}

std::vector<Step> Joined(std::vector<Step> first, const std::vector<Step>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

INSTANTIATE_TEST_SUITE_P(Scenarios, RequestAllowanceTest,
                         ::testing::Values(AllowanceCase{"StartsFullAndNeverGoesBelowEmpty", Spends(12, 9)},
                                           AllowanceCase{"RefillsOneASecondUpToTen",
                                                         Joined(Spends(10, 9), {{500ms, Step::kNothing, 0.5},
                                                                                {2000ms, Step::kNothing, 2.5},
                                                                                {0ms, Step::kSpend, 1.5},
                                                                                {60s, Step::kNothing, 10}})},
                                           // An info request sent after the mark went unanswered; a console
                                           // command went out while its reply was awaited.
                                           AllowanceCase{"EmptySinceKeepsWhatRefilledLessWhatWasSpent",
                                                         {{0ms, Step::kSpend, 9},
                                                          {0ms, Step::kMark, 9},
                                                          {400ms, Step::kSpend, 8.4},
                                                          {600ms, Step::kEmptySince, 0},
                                                          {3000ms, Step::kNothing, 3},
                                                          {0ms, Step::kMark, 3},
                                                          {1500ms, Step::kEmptySince, 1.5}}},
                                           // What the server shows never raises the mirror above its own count.
                                           AllowanceCase{"EmptySinceNeverRaisesTheMirror",
                                                         {{0ms, Step::kMark, 10}, {20s, Step::kEmptySince, 10}}}),
                         [](const auto& info) { return info.param.name; });

// The pacing on a clock of its own, against a server that keeps an
// allowance like the mirror's (or none), behind a network that loses the
// replies it is told to.
class InfoPacingTest : public ::testing::Test {
 protected:
  // One tick: sends the info request if the pacing lets it, has the server
  // answer within its allowance, reports the answer, and moves the clock to
  // the next tick: 500 ms on, or right after the time-out's wait (the tick
  // that fell due meanwhile comes at once). Whether it sent.
  bool Tick(bool lostOnTheWay = false) {
    if (!pacing.SendInfoNow()) {
      clock.Advance(500ms);
      return false;
    }
    pacing.InfoSending();
    const bool refused = server && server->Available() < 1;
    if (server && !refused) {
      server->Spend();
    }
    refusals += refused ? 1 : 0;
    if (refused || lostOnTheWay) {
      clock.Advance(1000ms);
      pacing.InfoUnanswered();
    } else {
      pacing.InfoAnswered();
      clock.Advance(500ms);
    }
    return true;
  }

  // Ticks for `duration`; how many sent.
  int SentOver(std::chrono::milliseconds duration) {
    int sent = 0;
    const RequestAllowance::TimePoint end = allowance.Now() + duration;
    while (allowance.Now() < end) {
      sent += Tick() ? 1 : 0;
    }
    return sent;
  }

  ManualClock clock;
  RequestAllowance allowance{clock};
  InfoPacing pacing{allowance};
  // The server's own allowance, on the same clock; none: it has no limit.
  std::optional<RequestAllowance> server;
  int refusals = 0;
};

// Which requests go unanswered decides: a loss is the server's limit only
// where the allowance says it was spent.
struct PacingCase {
  std::string name;
  bool limits;
  // The server's allowance was spent before monitoring began (another
  // program at this address, or the last run).
  bool spentBefore;
  std::set<int> lostOnTheWay;  // ticks (from 0) whose reply the network loses
  int ticks;
  bool paced;
  int mostRefused;  // requests the limit left unanswered, at most
};

class InfoPacingScenarioTest : public InfoPacingTest, public ::testing::WithParamInterface<PacingCase> {};

TEST_P(InfoPacingScenarioTest, PacesOnlyForTheServersLimit) {
  const PacingCase& scenario = GetParam();
  if (scenario.limits) {
    server.emplace(clock);
    for (int i = 0; scenario.spentBefore && i < 10; ++i) {
      server->Spend();
    }
  }
  for (int tick = 0; tick < scenario.ticks; ++tick) {
    Tick(scenario.lostOnTheWay.contains(tick));
  }
  EXPECT_EQ(pacing.Paced(), scenario.paced);
  EXPECT_LE(refusals, scenario.mostRefused);
}

INSTANTIATE_TEST_SUITE_P(
    Servers, InfoPacingScenarioTest,
    ::testing::Values(
        // A single reply lost while the mirror holds plenty, or once full
        // pace has shown that the server answers beyond any allowance.
        PacingCase{"NoLimitOneLossEarly", false, false, {4}, 120, false, 0},
        PacingCase{"NoLimitOneLossLate", false, false, {80}, 120, false, 0},
        PacingCase{"NoLimitALossEveryFewSeconds", false, false, {30, 36, 43, 50, 61, 70, 75}, 120, false, 0},
        // A server that never answered may just be down.
        PacingCase{"NeverAnswered", true, false, {0, 1, 2, 3, 4, 5}, 6, false, 0},
        // A server that goes down: its losses come faster than any refill.
        PacingCase{"NoLimitThenSilent",
                   false,
                   false,
                   {60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75},
                   76,
                   false,
                   0},
        // The first refusal falls where the mirror says spent.
        PacingCase{"LimitFromAFullAllowance", true, false, {}, 120, true, 1},
        // The mirror starts full but the server's allowance is spent: the
        // refusals' rhythm shows it.
        PacingCase{"LimitAlreadySpent", true, true, {}, 120, true, InfoPacing::kRhythmLosses},
        // A reply lost before the allowance runs out may have been counted
        // or not, which hides where it runs out; the rhythm shows it then.
        PacingCase{"LimitBehindALossyNetwork", true, false, {3, 40, 90}, 120, true, InfoPacing::kRhythmLosses}),
    [](const auto& info) { return info.param.name; });

TEST_F(InfoPacingTest, PacedTicksKeepAReserveOfThree) {
  server.emplace(clock);
  // 10 s at full pace empty the allowance; the request after is refused.
  EXPECT_EQ(SentOver(10500ms), 20);
  ASSERT_EQ(refusals, 1);
  ASSERT_TRUE(pacing.Paced());
  // Emptied when the refused request went out, 1 s ago: the next request
  // waits until 4 are there, and each after it leaves 3.
  EXPECT_DOUBLE_EQ(allowance.Available(), 1);
  EXPECT_EQ(SentOver(3000ms), 0);
  EXPECT_TRUE(Tick());
  EXPECT_DOUBLE_EQ(allowance.Available(), 3.5);
  EXPECT_EQ(SentOver(30s), 30);
  EXPECT_GE(allowance.Available(), InfoPacing::kReserve);
  // A console command spends from the reserve; the info request waits.
  allowance.Spend();
  server->Spend();
  allowance.Spend();
  server->Spend();
  EXPECT_EQ(SentOver(2s), 0);
  EXPECT_EQ(refusals, 1);
}

TEST_F(InfoPacingTest, AMinuteWithoutALostReplyRelaxesAndEachRelapseDoublesTheWait) {
  server.emplace(clock);
  SentOver(10500ms);
  ASSERT_TRUE(pacing.Paced());
  SentOver(59s);
  EXPECT_TRUE(pacing.Paced());
  SentOver(1s);
  EXPECT_FALSE(pacing.Paced());

  // Still limiting: once full pace has spent the allowance, paced again,
  // now for two minutes.
  while (refusals < 2) {
    Tick();
  }
  EXPECT_TRUE(pacing.Paced());
  SentOver(119s);
  EXPECT_TRUE(pacing.Paced());
  SentOver(1s);
  EXPECT_FALSE(pacing.Paced());
}

}  // namespace
}  // namespace kestrova
