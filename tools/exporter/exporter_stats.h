// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace kestrova::exporter {

// The exporter's own figures, as GET /metrics shows them. Safe to use from
// many threads at once.
class ExporterStats final {
 public:
  // Upper bounds of the query duration histogram's buckets, in seconds: a
  // loopback cycle takes a millisecond, a silent server the full second of
  // the receive time-out, two when its status query is silent too.
  static constexpr std::array<double, 10> kBuckets = {0.005, 0.01, 0.025, 0.05, 0.1, 0.25, 0.5, 1.0, 2.5, 5.0};

  // A probe answered with metrics; `shared` when its snapshot came from
  // another probe's cycle (a recent one, or one that was running).
  void ProbeAnswered(bool shared);
  // A query cycle that went to a server ended after `seconds`; `complete`
  // when it brought a valid info reply and a whole status reply.
  void QueryEnded(double seconds, bool complete);
  // A request refused: bad arguments, an unknown path or another method.
  void RequestRefused();

  // The figures in the OpenMetrics text format (ending with "# EOF"), or
  // in the Prometheus text format 0.0.4 when `openMetrics` is false.
  std::string Render(bool openMetrics) const;

 private:
  mutable std::mutex mutex_;
  std::uint64_t probes_ = 0;
  std::uint64_t shared_ = 0;
  std::uint64_t refused_ = 0;
  std::uint64_t failures_ = 0;
  std::array<std::uint64_t, kBuckets.size()> buckets_{};
  std::uint64_t queries_ = 0;
  double seconds_ = 0;
};

}  // namespace kestrova::exporter
