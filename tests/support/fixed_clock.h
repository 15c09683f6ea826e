#pragma once

#include "core/local_time.h"

namespace kestrova::test {

// A clock that always tells the time it was given.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(LocalTime time) : time_(time) {}
  LocalTime Now() const override { return time_; }
  void Set(LocalTime time) { time_ = time; }

 private:
  LocalTime time_;
};

}  // namespace kestrova::test
