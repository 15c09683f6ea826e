// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// One datagram of a status reply that the server split over several
// datagrams. Each part ends with "\queryid\Q.P" (Q names the reply, P counts
// its parts from 1); the last part also carries the key "final" with an
// empty value, which servers put either right before that marker
// ("\final\\queryid\Q.P") or right after it ("\queryid\Q.P\final\").
struct StatusPart {
  std::string queryId;
  int number = 0;
  bool final = false;
  // The part without its trailing "final" and "queryid" fields.
  std::string body;
};

// The part that `datagram` is, or std::nullopt when it does not end with a
// "\queryid\Q.P" marker (followed by nothing or by "\final\") whose P
// begins with a whole number from 1 up.
std::optional<StatusPart> ParseStatusPart(std::string_view datagram);

// The most parts a reply is gathered from. The largest server the
// simulator can play (1024 players) needs some 60 parts of 1400 bytes;
// anything numbered beyond this is no reply but someone filling the
// window's memory for as long as the gathering lasts.
inline constexpr int kMostStatusParts = 128;

// The parts of one reply gathered so far: those of the first part's query
// id, each part number once, none numbered above kMostStatusParts.
class StatusPartSet final {
 public:
  explicit StatusPartSet(StatusPart first);

  // Keeps `part` unless it belongs to another reply, its number came
  // before or lies above kMostStatusParts.
  void Add(StatusPart part);

  // Whether the final part and every part before it have come.
  bool Complete() const;
  // Whether the final part came while a part below it is missing.
  bool FinalCameWithGap() const;

  const std::string& QueryId() const { return queryId_; }
  std::size_t Count() const { return parts_.size(); }
  // The lowest part number that has not come.
  int FirstMissing() const;
  // The number of the lowest final part that came; 0 while none has.
  int FinalNumber() const;

  // The bodies of the parts that came, in part order, as one reply text.
  std::string Joined() const;

 private:
  std::string queryId_;
  std::vector<StatusPart> parts_;  // kept ordered by number
};

// Which part a status reply lacked when it could not be had whole.
struct StatusGap {
  // The lowest part number that did not come.
  int missing = 0;
  // How many parts the reply has, known once its final part came; 0 when
  // the final part never came.
  int of = 0;

  // "part 2 of 3 missing"; without the final part "final part missing",
  // or "part 2 and the final part missing" when one below the highest that
  // came is missing too.
  std::string Text() const;
};

// The most replies whose parts are gathered side by side: the reply to the
// request, the reply to its one retry, and a late reply to an earlier
// request or two. Parts of further replies are dropped.
inline constexpr std::size_t kMostGatheredReplies = 4;

// The parts of the replies that came for one status query, each reply
// (query id) apart, so that parts of two replies are never mixed.
class StatusReplies final {
 public:
  // Files `part` under its reply (StatusPartSet::Add); a part of a reply
  // beyond kMostGatheredReplies is dropped.
  void Add(StatusPart part);

  // How many replies have parts here.
  std::size_t Count() const { return replies_.size(); }
  // The first reply that is complete, or nullptr.
  const StatusPartSet* Complete() const;
  // Whether some reply's final part came with a gap below it.
  bool FinalCameWithGap() const;
  // What the reply that came closest lacks (most parts; the earliest of
  // equals). Only while none is complete and at least one part came.
  StatusGap Gap() const;

 private:
  std::vector<StatusPartSet> replies_;
};

}  // namespace kestrova
