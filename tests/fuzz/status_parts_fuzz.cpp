// SPDX-License-Identifier: GPL-3.0-or-later
// The parts of a status reply that came as several datagrams: each read as
// a part, then gathered and joined as the status query does. The input
// holds the datagrams in arrival order, cut by kDatagramSeparator.
#include <map>
#include <optional>

#include "core/status_reply_parts.h"
#include "fuzz_support.h"

namespace {

using namespace kestrova;

void CheckPart(std::string_view datagram, const StatusPart& part) {
  FUZZ_CHECK(part.number >= 1);
  FUZZ_CHECK(part.queryId.find('.') == std::string::npos);
  FUZZ_CHECK(datagram.starts_with(part.body));
  // The marker "\queryid\Q.P" at least is cut off.
  FUZZ_CHECK(part.body.size() + 11 + part.queryId.size() <= datagram.size());
}

bool SamePart(const std::optional<StatusPart>& a, const std::optional<StatusPart>& b) {
  if (!a || !b) {
    return a.has_value() == b.has_value();
  }
  return a->queryId == b->queryId && a->number == b->number && a->final == b->final && a->body == b->body;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::string> datagrams = fuzz::SplitInput(fuzz::InputText(data, size), fuzz::kDatagramSeparator);

  std::optional<StatusPartSet> set;
  std::string firstId;
  // The model: the first part of each number of the first part's reply,
  // none numbered beyond the most a reply has but the first.
  std::map<int, StatusPart> kept;
  for (const std::string& datagram : datagrams) {
    std::optional<StatusPart> part = ParseStatusPart(datagram);
    FUZZ_CHECK(SamePart(part, ParseStatusPart(datagram)));
    if (!part) {
      continue;
    }
    CheckPart(datagram, *part);
    if (!set) {
      firstId = part->queryId;
      kept.emplace(part->number, *part);
      set.emplace(std::move(*part));
      continue;
    }
    if (part->queryId == firstId && part->number <= kMostStatusParts) {
      kept.emplace(part->number, *part);
    }
    set->Add(std::move(*part));
  }
  if (!set) {
    return 0;
  }

  // Complete exactly when the lowest final part and every part before it came.
  std::optional<int> final;
  std::string joined;
  for (const auto& [number, part] : kept) {
    if (part.final && !final) {
      final = number;
    }
    joined += part.body;
  }
  bool complete = final.has_value();
  for (int number = 1; complete && number <= *final; ++number) {
    complete = kept.count(number) == 1;
  }
  FUZZ_CHECK(set->Complete() == complete);
  FUZZ_CHECK(set->Joined() == joined);
  return 0;
}
