#pragma once

#include <chrono>
#include <functional>

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
  using TimePoint = std::chrono::steady_clock::time_point;
  using TimeSource = std::function<TimePoint()>;

  static constexpr double kCapacity = 10;
  static constexpr double kPerSecond = 1;

  // `now` tells the time; tests pass a clock of their own.
  explicit RequestAllowance(TimeSource now = &std::chrono::steady_clock::now);

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

  TimePoint Now() const { return now_(); }

 private:
  // Brings the level up to date with the time passed.
  void Refill() const;

  TimeSource now_;
  mutable double level_ = kCapacity;
  mutable TimePoint updated_;
  long spent_ = 0;
};

// Decides per tick whether the query cycle sends the info request, so that
// monitoring keeps within the server's allowance and console commands,
// kick and map change always find it willing to answer.
//
// Monitoring starts at full pace: the info request on every tick. An info
// request unanswered after an earlier one of this run was answered shows
// that the server limits: the mirror is brought down to the server's
// level, and from then on (paced) the info request is sent only when the
// mirror keeps kReserve after it. A minute without an unanswered info
// request relaxes the pace again; each time the server shows its limit
// anew after such a relaxation, the next one waits twice as long (at most
// kLongestCalm), so a server that keeps limiting costs a lost info reply
// ever more rarely while one that stopped limiting gets its full pace back.
class InfoPacing final {
 public:
  static constexpr double kReserve = 3;
  static constexpr std::chrono::seconds kFirstCalm{60};
  static constexpr std::chrono::seconds kLongestCalm{960};

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
  RequestAllowance& allowance_;
  RequestAllowance::Mark sending_;
  bool anyAnswered_ = false;
  bool paced_ = false;
  RequestAllowance::TimePoint lastUnanswered_;
  std::chrono::seconds calm_ = kFirstCalm;
};

}  // namespace kestrova
