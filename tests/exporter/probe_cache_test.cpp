// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exporter/probe_cache.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestrova::exporter {
namespace {

using namespace std::chrono_literals;

class ProbeCacheTest : public testing::Test {
 protected:
  ProbeCache::Clock::time_point now_{};
  int queries_ = 0;
  bool fail_ = false;
  ProbeCache cache_{[this](const ProbeTarget& target) {
                      ++queries_;
                      if (fail_) {
                        throw std::runtime_error("no memory");
                      }
                      QuerySnapshot snapshot;
                      snapshot.infoReply = std::to_string(target.gamePort) + "/" + std::to_string(queries_);
                      return snapshot;
                    },
                    5s, [this] { return now_; }};
};

TEST_F(ProbeCacheTest, AnswersACycleForFiveSeconds) {
  const ProbeTarget a{0x7F000001, 1, 2};
  const ProbeTarget b{0x7F000001, 1, 3};  // another query port is another server
  EXPECT_EQ(cache_.Probe(a).snapshot->infoReply, "1/1");
  now_ += 4999ms;
  const ProbeCache::Answer again = cache_.Probe(a);
  EXPECT_TRUE(again.shared);
  EXPECT_EQ(again.snapshot->infoReply, "1/1");
  EXPECT_EQ(cache_.Probe(b).snapshot->infoReply, "1/2");
  now_ += 1ms;
  const ProbeCache::Answer fresh = cache_.Probe(a);
  EXPECT_FALSE(fresh.shared);
  EXPECT_EQ(fresh.snapshot->infoReply, "1/3");
}

TEST_F(ProbeCacheTest, KeepsNoMoreThanItsBoundAndNothingOfAFailure) {
  for (std::size_t port = 1; port <= ProbeCache::kMostTargets + 1; ++port) {
    cache_.Probe({0x7F000001, static_cast<int>(port), 1});
  }
  EXPECT_EQ(cache_.Size(), ProbeCache::kMostTargets);
  const ProbeTarget beyond{0x7F000001, static_cast<int>(ProbeCache::kMostTargets + 1), 1};
  EXPECT_FALSE(cache_.Probe(beyond).shared) << "a target beyond the bound was kept";

  now_ += 5s;
  fail_ = true;
  EXPECT_THROW(cache_.Probe(beyond), std::runtime_error);
  EXPECT_EQ(cache_.Size(), 0u) << "expired and failed cycles stay";
  fail_ = false;
  EXPECT_FALSE(cache_.Probe(beyond).shared);
}

}  // namespace
}  // namespace kestrova::exporter
