// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/request_allowance.h"

#include <algorithm>

namespace kestrova {

RequestAllowance::RequestAllowance(const SteadyClock& clock) : clock_(clock), updated_(clock.Now()) {}

void RequestAllowance::Refill() const {
  const TimePoint now = Now();
  if (now > updated_) {
    const std::chrono::duration<double> passed = now - updated_;
    level_ = std::min(kCapacity, level_ + passed.count() * kPerSecond);
    updated_ = now;
  }
}

double RequestAllowance::Available() const {
  Refill();
  return level_;
}

void RequestAllowance::Spend() {
  Refill();
  level_ = std::max(0.0, level_ - 1);
  ++spent_;
}

RequestAllowance::Mark RequestAllowance::MarkNow() const { return Mark{Now(), spent_}; }

void RequestAllowance::EmptySince(const Mark& mark) {
  const TimePoint now = Now();
  const std::chrono::duration<double> passed = std::max(now - mark.at, TimePoint::duration::zero());
  const double refilled = passed.count() * kPerSecond - static_cast<double>(spent_ - mark.spent);
  // Never above what the mirror already holds: it only ever learns that
  // the server has less than it thought.
  level_ = std::clamp(refilled, 0.0, Available());
  updated_ = now;
}

bool InfoPacing::Paced() const { return paced_ && allowance_.Now() - lastUnanswered_ < calm_; }

bool InfoPacing::SendInfoNow() const { return !Paced() || allowance_.Available() - 1 >= kReserve; }

double InfoPacing::SecondsSince(TimePoint from) const {
  return std::chrono::duration<double>(sending_.at - from).count();
}

double InfoPacing::Most() const {
  if (!mostSet_) {
    return most_;
  }
  const RequestAllowance::Mark now = allowance_.MarkNow();
  const std::chrono::duration<double> passed = std::max(now.at - mostAt_.at, TimePoint::duration::zero());
  return std::min(RequestAllowance::kCapacity, most_ + passed.count() * RequestAllowance::kPerSecond) -
         static_cast<double>(now.spent - mostAt_.spent);
}

void InfoPacing::SetMost(double most) {
  most_ = most;
  mostAt_ = allowance_.MarkNow();
  mostSet_ = true;
}

void InfoPacing::InfoSending() {
  // From a full allowance at the first request: the most any server of
  // this kind holds.
  if (!mostSet_) {
    SetMost(RequestAllowance::kCapacity);
  }
  mostBefore_ = Most();
  allowance_.Spend();
  sending_ = allowance_.MarkNow();
  SetMost(mostBefore_ - 1);
}

void InfoPacing::InfoAnswered() {
  anyAnswered_ = true;
  // A server that answered with less than one left keeps no allowance
  // like this: a later loss where it runs out proves nothing.
  if (mostBefore_ < 1 - kSlack) {
    mostCredible_ = false;
  }
  // A server that refused the last lost request held less than one then;
  // an answer beyond what it could have refilled since shows that loss
  // was not its limit.
  ++answeredSinceLoss_;
  if (rhythmLosses_ > 0 && answeredSinceLoss_ > 1 + SecondsSince(lastLossAt_) * RequestAllowance::kPerSecond - kSlack) {
    rhythmLosses_ = 0;
  }
}

void InfoPacing::InfoUnanswered() {
  // Refused or lost, the request may not have been counted: the most the
  // server can hold is given it back.
  SetMost(Most() + 1);
  const bool spent = mostCredible_ && mostBefore_ < 1 + kSlack;
  // Refused before, the server could have refilled this much since, less
  // the answers it paid for: below one, it refuses again.
  const bool onRhythm =
      rhythmLosses_ > 0 && SecondsSince(lastLossAt_) * RequestAllowance::kPerSecond - answeredSinceLoss_ < 1 - kSlack;
  rhythmLosses_ = onRhythm ? rhythmLosses_ + 1 : 1;
  lastLossAt_ = sending_.at;
  answeredSinceLoss_ = 0;
  // A server that has not answered once in this run may just be down.
  if (anyAnswered_ && (spent || rhythmLosses_ >= kRhythmLosses)) {
    LimitShown();
  }
}

void InfoPacing::LimitShown() {
  allowance_.EmptySince(sending_);
  // It refused with less than one: at most one then, refilled since, less
  // what was spent since (console commands).
  const double sinceRefused =
      std::chrono::duration<double>(allowance_.Now() - sending_.at).count() * RequestAllowance::kPerSecond -
      static_cast<double>(allowance_.Spent() - sending_.spent);
  SetMost(std::min(Most(), 1 + sinceRefused));
  mostCredible_ = true;
  if (paced_ && !Paced()) {
    calm_ = std::min(calm_ * 2, kLongestCalm);
  }
  paced_ = true;
  lastUnanswered_ = allowance_.Now();
}

}  // namespace kestrova
