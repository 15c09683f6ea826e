#include "core/request_allowance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using namespace std::chrono_literals;

// A mirror on a clock that moves only when the test says so.
class ManualClock {
 public:
  RequestAllowance::TimeSource Source() {
    return [this] { return now_; };
  }
  void Advance(std::chrono::milliseconds step) { now_ += step; }

 private:
  RequestAllowance::TimePoint now_{std::chrono::hours(1)};
};

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
  RequestAllowance allowance(clock.Source());
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

// The pacing on a clock of its own, with the cycle's reports.
class InfoPacingTest : public ::testing::Test {
 protected:
  // One tick: sends the info request if the pacing lets it, reports the
  // answer, and moves the clock on by the tick's 500 ms.
  bool Tick(bool answered) {
    const bool sends = pacing.SendInfoNow();
    if (sends) {
      pacing.InfoSending();
      if (answered) {
        pacing.InfoAnswered();
      } else {
        clock.Advance(1000ms);  // the receive waits out its time-out
        pacing.InfoUnanswered();
      }
    }
    clock.Advance(500ms);
    return sends;
  }

  // Ticks for `duration` against a server that answers; how many sent.
  int SentOver(std::chrono::milliseconds duration) {
    int sent = 0;
    for (auto passed = 0ms; passed < duration; passed += 500ms) {
      sent += Tick(true) ? 1 : 0;
    }
    return sent;
  }

  ManualClock clock;
  RequestAllowance allowance{clock.Source()};
  InfoPacing pacing{allowance};
};

TEST_F(InfoPacingTest, FullPaceUntilAnAnsweredServerStaysSilent) {
  // A server that never answered shows no limit: every tick asks.
  EXPECT_TRUE(Tick(false));
  EXPECT_TRUE(Tick(false));
  EXPECT_FALSE(pacing.Paced());
  // Answers on every tick, the mirror long empty: still the full pace.
  EXPECT_EQ(SentOver(20s), 40);
  EXPECT_FALSE(pacing.Paced());

  EXPECT_TRUE(Tick(false));
  EXPECT_TRUE(pacing.Paced());
}

TEST_F(InfoPacingTest, PacedTicksKeepAReserveOfThree) {
  SentOver(1s);
  Tick(false);
  ASSERT_TRUE(pacing.Paced());
  // Emptied when the unanswered request went out, 1.5 s ago: the next
  // request waits until 4 are there, and each after it leaves 3.
  EXPECT_DOUBLE_EQ(allowance.Available(), 1.5);
  EXPECT_EQ(SentOver(2500ms), 0);
  EXPECT_TRUE(Tick(true));
  EXPECT_DOUBLE_EQ(allowance.Available(), 3.5);
  EXPECT_EQ(SentOver(30s), 30);
  EXPECT_GE(allowance.Available(), InfoPacing::kReserve);
  // A console command spends from the reserve; the info request waits.
  allowance.Spend();
  allowance.Spend();
  EXPECT_EQ(SentOver(2s), 0);
}

TEST_F(InfoPacingTest, AMinuteWithoutALostReplyRelaxesAndEachRelapseDoublesTheWait) {
  SentOver(1s);
  Tick(false);
  SentOver(59s);
  EXPECT_TRUE(pacing.Paced());
  SentOver(1s);
  EXPECT_FALSE(pacing.Paced());
  EXPECT_EQ(SentOver(5s), 10);

  // Still limiting: paced again, now for two minutes.
  Tick(false);
  SentOver(119s);
  EXPECT_TRUE(pacing.Paced());
  SentOver(1s);
  EXPECT_FALSE(pacing.Paced());
}

}  // namespace
}  // namespace kestrova
