// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>

namespace kestrova {

// Counts how deep a handler that waits (and so handles window events
// inside) is entered within itself, for the life of a scope, and keeps the
// deepest count seen: the figure the soak reports.
class NestingCount final {
 public:
  NestingCount(int& depth, int& deepest) : depth_(depth) { deepest = std::max(deepest, ++depth_); }
  ~NestingCount() { --depth_; }
  NestingCount(const NestingCount&) = delete;
  NestingCount& operator=(const NestingCount&) = delete;

 private:
  int& depth_;
};

}  // namespace kestrova
