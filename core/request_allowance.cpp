#include "core/request_allowance.h"

#include <algorithm>

namespace kestrova {

RequestAllowance::RequestAllowance(TimeSource now) : now_(std::move(now)), updated_(now_()) {}

void RequestAllowance::Refill() const {
  const TimePoint now = now_();
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

RequestAllowance::Mark RequestAllowance::MarkNow() const { return Mark{now_(), spent_}; }

void RequestAllowance::EmptySince(const Mark& mark) {
  const TimePoint now = now_();
  const std::chrono::duration<double> passed = std::max(now - mark.at, TimePoint::duration::zero());
  const double refilled = passed.count() * kPerSecond - static_cast<double>(spent_ - mark.spent);
  // Never above what the mirror already holds: it only ever learns that
  // the server has less than it thought.
  level_ = std::clamp(refilled, 0.0, Available());
  updated_ = now;
}

bool InfoPacing::Paced() const { return paced_ && allowance_.Now() - lastUnanswered_ < calm_; }

bool InfoPacing::SendInfoNow() const { return !Paced() || allowance_.Available() - 1 >= kReserve; }

void InfoPacing::InfoSending() {
  allowance_.Spend();
  sending_ = allowance_.MarkNow();
}

void InfoPacing::InfoAnswered() { anyAnswered_ = true; }

void InfoPacing::InfoUnanswered() {
  allowance_.EmptySince(sending_);
  // A server that has not answered once in this run may just be down; only
  // one that answered before and now stays silent shows a limit.
  if (!anyAnswered_) {
    return;
  }
  if (paced_ && !Paced()) {
    calm_ = std::min(calm_ * 2, kLongestCalm);
  }
  paced_ = true;
  lastUnanswered_ = allowance_.Now();
}

}  // namespace kestrova
