// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>

#include "core/steady_clock.h"

namespace kestrova {

// A local mirror of the allowance that a server keeps for this program's
// address on its game port: a burst of `kCapacity` requests, refilled at
// `kPerSecond`. Every datagram the program sends to the game port (info
// requests, console commands, kick, map change) spends one; the query port
// has no allowance. The server's own count cannot be read, so the mirror
// starts full and is brought down to the server's evident level when a
// request goes unanswered (EmptySince).
class RequestAllowance final {
 public:
  using TimePoint = SteadyClock::TimePoint;

  static constexpr double kCapacity = 10;
  static constexpr double kPerSecond = 1;

  // `clock` tells the time; tests pass a clock of their own.
  explicit RequestAllowance(const SteadyClock& clock = SystemSteadyClock());

  // Requests the server would answer right now, fractions included: from 0
  // to kCapacity.
  double Available() const;

  // Counts one request sent. The mirror does not go below empty: a server
  // leaves requests beyond its allowance unanswered without counting them.
  void Spend();

  // A moment to bring the mirror down from: the time, and the spends until
  // then.
  struct Mark {
    TimePoint at;
    long spent = 0;
  };
  Mark MarkNow() const;

  // The server's allowance was empty at `mark`: a request sent right after
  // it went unanswered. The mirror becomes what has been refilled since,
  // less every request spent since: the least the server can hold now.
  void EmptySince(const Mark& mark);

  TimePoint Now() const { return clock_.Now(); }
  // Every request spent so far.
  long Spent() const { return spent_; }

 private:
  // Brings the level up to date with the time passed.
  void Refill() const;

  const SteadyClock& clock_;
  mutable double level_ = kCapacity;
  mutable TimePoint updated_;
  long spent_ = 0;
};

// Decides per tick whether the query cycle sends the info request, so that
// monitoring keeps within the server's allowance and console commands,
// kick and map change always find it willing to answer.
//
// Monitoring starts at full pace: the info request on every tick. A lost
// reply is not taken for the server's limit unless it matches the
// allowance, since networks lose datagrams too:
// - it falls where the allowance was spent by the most the server can
//   hold (the allowance counted from a full start, or from its last
//   refusal, less every request it answered), unless that count has been
//   proven wrong: a reply came to a request that it said the server had no
//   allowance for, as a server without a limit gives once full pace has
//   spent that count;
// - or losses repeat at the allowance's rhythm: kRhythmLosses of them in a
//   row, each where the allowance, counted from the loss before it (that
//   refusal leaving less than one), would be spent again, with no more
//   answers in between than it could have paid for.
// A loss while the mirror holds plenty is network loss and changes
// nothing, and so does a silent server: its losses follow each other
// faster than any allowance refills.
//
// Once the limit shows, the mirror is brought down to the server's level,
// and from then on (paced) the info request is sent only when the mirror
// keeps kReserve after it. A minute without a loss that matches relaxes
// the pace again; each time the server shows its limit anew after such a
// relaxation, the next one waits twice as long (at most kLongestCalm), so
// a server that keeps limiting costs a lost info reply ever more rarely
// while one that stopped limiting gets its full pace back.
class InfoPacing final {
 public:
  static constexpr double kReserve = 3;
  static constexpr std::chrono::seconds kFirstCalm{60};
  static constexpr std::chrono::seconds kLongestCalm{960};
  // How far the server's count may stray from the mirror's, for the time
  // a datagram takes from one end to the other.
  static constexpr double kSlack = 0.25;
  // Losses in a row at the allowance's rhythm that show a limit.
  static constexpr int kRhythmLosses = 4;

  explicit InfoPacing(RequestAllowance& allowance) : allowance_(allowance) {}
  InfoPacing(const InfoPacing&) = delete;
  InfoPacing& operator=(const InfoPacing&) = delete;

  // Whether monitoring runs below full pace for the server's limit now.
  bool Paced() const;

  // Whether this tick sends the info request.
  bool SendInfoNow() const;

  // The info request is about to be sent: spends it from the allowance.
  void InfoSending();
  // Whether a reply to it came within the receive time-out.
  void InfoAnswered();
  void InfoUnanswered();

 private:
  using TimePoint = RequestAllowance::TimePoint;

  // Seconds from `from` to the request in flight.
  double SecondsSince(TimePoint from) const;
  // The most the server can hold now: `most_` as of `mostAt_`, refilled
  // since, less the requests spent since.
  double Most() const;
  void SetMost(double most);
  // The server shows its limit: pace from now on.
  void LimitShown();

  RequestAllowance& allowance_;
  RequestAllowance::Mark sending_;
  double most_ = RequestAllowance::kCapacity;
  RequestAllowance::Mark mostAt_;
  bool mostSet_ = false;
  // The most the server could hold right before the request in flight.
  double mostBefore_ = 0;
  bool anyAnswered_ = false;
  // No reply yet came that the server could not have paid for.
  bool mostCredible_ = true;
  // The losses in a row at the allowance's rhythm, the last one sent at
  // lastLossAt_, and the answers since it.
  int rhythmLosses_ = 0;
  TimePoint lastLossAt_;
  int answeredSinceLoss_ = 0;
  bool paced_ = false;
  TimePoint lastUnanswered_;
  std::chrono::seconds calm_ = kFirstCalm;
};

}  // namespace kestrova
