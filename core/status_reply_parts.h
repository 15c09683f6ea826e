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

  // The bodies of the parts that came, in part order, as one reply text.
  std::string Joined() const;

 private:
  std::string queryId_;
  std::vector<StatusPart> parts_;  // kept ordered by number
};

}  // namespace kestrova
