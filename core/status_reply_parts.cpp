// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/status_reply_parts.h"

#include <algorithm>
#include <limits>

namespace kestrova {

namespace {

constexpr std::string_view kQueryIdField = "\\queryid\\";
constexpr std::string_view kFinalField = "\\final\\";

// The leading decimal digits of `text` as a number from 1 up; 0 when there
// are none or the number is out of range.
int PartNumber(std::string_view text) {
  long long value = 0;
  std::size_t count = 0;
  while (count < text.size() && text[count] >= '0' && text[count] <= '9') {
    value = value * 10 + (text[count] - '0');
    if (value > std::numeric_limits<int>::max()) {
      return 0;
    }
    ++count;
  }
  return count == 0 ? 0 : static_cast<int>(value);
}

}  // namespace

std::optional<StatusPart> ParseStatusPart(std::string_view datagram) {
  // "...\queryid\Q.P\final\": the final key, with its empty value, after
  // the marker.
  bool finalAfter = false;
  if (datagram.ends_with(kFinalField)) {
    finalAfter = true;
    datagram.remove_suffix(kFinalField.size());
  }
  const std::size_t marker = datagram.rfind(kQueryIdField);
  if (marker == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view id = datagram.substr(marker + kQueryIdField.size());
  const std::size_t dot = id.find('.');
  if (dot == std::string_view::npos) {
    return std::nullopt;
  }
  StatusPart part;
  part.number = PartNumber(id.substr(dot + 1));
  if (part.number == 0) {
    return std::nullopt;
  }
  part.queryId = std::string(id.substr(0, dot));
  std::string_view body = datagram.substr(0, marker);
  // "...\final\\queryid\Q.P": the final key, with its empty value, before it.
  if (body.ends_with(kFinalField)) {
    part.final = true;
    body.remove_suffix(kFinalField.size());
  }
  part.final = part.final || finalAfter;
  part.body = std::string(body);
  return part;
}

StatusPartSet::StatusPartSet(StatusPart first) : queryId_(first.queryId) { parts_.push_back(std::move(first)); }

void StatusPartSet::Add(StatusPart part) {
  if (part.queryId != queryId_ || part.number > kMostStatusParts) {
    return;
  }
  const auto place = std::lower_bound(parts_.begin(), parts_.end(), part.number,
                                      [](const StatusPart& kept, int number) { return kept.number < number; });
  if (place != parts_.end() && place->number == part.number) {
    return;
  }
  parts_.insert(place, std::move(part));
}

bool StatusPartSet::Complete() const {
  const auto last = std::find_if(parts_.begin(), parts_.end(), [](const StatusPart& part) { return part.final; });
  if (last == parts_.end()) {
    return false;
  }
  // Numbers are unique and ordered, so parts 1..F are all there exactly
  // when the final part F stands at index F-1.
  return last->number == static_cast<int>(last - parts_.begin()) + 1;
}

bool StatusPartSet::FinalCameWithGap() const { return FinalNumber() != 0 && !Complete(); }

int StatusPartSet::FirstMissing() const {
  int expected = 1;
  for (const StatusPart& part : parts_) {
    if (part.number != expected) {
      break;
    }
    ++expected;
  }
  return expected;
}

int StatusPartSet::FinalNumber() const {
  const auto last = std::find_if(parts_.begin(), parts_.end(), [](const StatusPart& part) { return part.final; });
  return last == parts_.end() ? 0 : last->number;
}

std::string StatusGap::Text() const {
  const std::string part = "part " + std::to_string(missing);
  if (of != 0) {
    return part + " of " + std::to_string(of) + " missing";
  }
  return missing == 0 ? "final part missing" : part + " and the final part missing";
}

void StatusReplies::Add(StatusPart part) {
  for (StatusPartSet& reply : replies_) {
    if (reply.QueryId() == part.queryId) {
      reply.Add(std::move(part));
      return;
    }
  }
  if (replies_.size() < kMostGatheredReplies && part.number <= kMostStatusParts) {
    replies_.emplace_back(std::move(part));
  }
}

const StatusPartSet* StatusReplies::Complete() const {
  for (const StatusPartSet& reply : replies_) {
    if (reply.Complete()) {
      return &reply;
    }
  }
  return nullptr;
}

bool StatusReplies::FinalCameWithGap() const {
  return std::any_of(replies_.begin(), replies_.end(),
                     [](const StatusPartSet& reply) { return reply.FinalCameWithGap(); });
}

StatusGap StatusReplies::Gap() const {
  const StatusPartSet* closest = nullptr;
  for (const StatusPartSet& reply : replies_) {
    if (closest == nullptr || reply.Count() > closest->Count()) {
      closest = &reply;
    }
  }
  if (closest == nullptr) {
    return {};
  }
  StatusGap gap{closest->FirstMissing(), closest->FinalNumber()};
  // Without the final part, the lowest missing part may be the final one
  // itself: it is named only when a higher part came.
  if (gap.of == 0 && gap.missing > static_cast<int>(closest->Count())) {
    gap.missing = 0;
  }
  return gap;
}

std::string StatusPartSet::Joined() const {
  std::string joined;
  for (const StatusPart& part : parts_) {
    joined += part.body;
  }
  return joined;
}

}  // namespace kestrova
