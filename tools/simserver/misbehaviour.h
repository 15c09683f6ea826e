// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tools/simserver/rate_limit.h"

namespace kestrova::simserver {

// The three kinds of request, each with its own faults.
enum class Channel { kInfo = 0, kStatus = 1, kRcon = 2 };

// How the replies of one channel go wrong; all off is a well-behaved server.
struct ChannelFaults final {
  bool silent = false;
  int delayMs = 0;
  bool garbage = false;
  bool oversize = false;
  bool duplicate = false;
  // Replies of several datagrams only: their datagrams go out last first.
  bool reorder = false;
  // Replies of several datagrams only: the datagram at this place (from 1)
  // is left out; 0 leaves all in.
  int dropPart = 0;
  // dropPart only in every dropEvery-th reply of several datagrams on the
  // channel (1: in each).
  int dropEvery = 1;
};

// The size of the one datagram an oversize reply is sent as.
inline constexpr std::size_t kOversizeDatagram = 9000;

// The faults switched on for the test or demo at hand.
class Misbehaviour final {
 public:
  const ChannelFaults& Faults(Channel channel) const { return faults_[static_cast<std::size_t>(channel)]; }

  // Switches one fault for the channel named `channel` (info, status, rcon
  // or all): `fault` is silent, garbage, oversize, duplicate or reorder
  // with the value on or off, delay with a value in milliseconds, or
  // droppart with "N" or "N:EVERY": the place of the part to leave out (0:
  // none), in every EVERY-th reply of several datagrams (default 1).
  // Throws std::invalid_argument with the reason for any other word or
  // value.
  void Set(std::string_view fault, std::string_view channel, std::string_view value);

  // Switches every fault of every channel, the loss and the rate limit off.
  void Clear();

  // Loses `percent` (0 to 100, a fraction allowed) of all reply datagrams
  // on both ports, each by chance, as a lossy network between the server
  // and its clients would; the draws come from their own generator, seeded
  // with `seed` when one is given, so a run can be repeated.
  void SetLoss(double percent, std::optional<unsigned> seed);
  double LossPercent() const { return lossPercent_; }
  // Whether the next reply datagram on `channel` is lost on its way
  // (counted).
  bool LoseDatagram(Channel channel);
  // Reply datagrams lost so far on `channel`.
  long LostDatagrams(Channel channel) const { return lost_[static_cast<std::size_t>(channel)]; }

  // Turns the request budget on the game port on or off; turning it on
  // starts every sender with a full budget.
  void SetRateLimited(bool on);
  // From the first call on, the budget's clock stands still but for the
  // `span` that each call moves it on, so that a test keeps it in step with
  // a clock of its own.
  void PassBudgetTime(std::chrono::milliseconds span);
  // Whether a game-port request from `address` at `now` must go unanswered.
  bool OverBudget(std::uint32_t address, RateLimit::Clock::time_point now);

  // What is sent for the true reply `datagrams` on `channel`: nothing when
  // silent; a reply of several datagrams without its part dropPart, then
  // in reverse order when reorder; random bytes when garbage; one
  // 9000-byte datagram that begins with the reply when oversize; every
  // datagram twice when duplicate.
  std::vector<std::string> Shape(Channel channel, std::vector<std::string> datagrams, std::mt19937& random);

 private:
  std::array<ChannelFaults, 3> faults_{};
  // Replies of several datagrams shaped so far, per channel (dropEvery).
  std::array<long, 3> longReplies_{};
  bool rateLimited_ = false;
  RateLimit rateLimit_;
  std::optional<RateLimit::Clock::time_point> budgetNow_;
  double lossPercent_ = 0;
  std::mt19937 lossRandom_;
  std::array<long, 3> lost_{};
};

// "PERCENT" or "PERCENT:SEED" as --loss and the control line "loss" take
// it: a percentage from 0 to 100 with up to three decimals, and a seed from
// 0 to 2147483647. Throws std::invalid_argument with the reason.
std::pair<double, std::optional<unsigned>> ParseLoss(std::string_view text);

}  // namespace kestrova::simserver
