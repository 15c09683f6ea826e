// SPDX-License-Identifier: GPL-3.0-or-later
// A status reply read as the status query reads it: the status reply
// list, the fraglimit and timelimit labels and the player rows.
#include <algorithm>
#include <stdexcept>

#include "core/caption_order.h"
#include "core/reply_text.h"
#include "core/status_query.h"
#include "fuzz_support.h"
#include "shown_model.h"

namespace {

using namespace kestrova;

struct Outcome {
  DisplayModel shown;
  bool ranOff = false;
};

Outcome Read(const std::string& received) {
  Outcome outcome;
  try {
    ShowStatusReply(received, outcome.shown);
  } catch (const std::out_of_range&) {
    outcome.ranOff = true;
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string received(fuzz::InputText(data, size));
  const Outcome outcome = Read(received);

  TokenList tokens;
  SplitCommaText(NormaliseReply(received), tokens);
  const std::map<int, std::string> labels = fuzz::SetLabels(outcome.shown);
  FUZZ_CHECK(outcome.shown.StatusList() == tokens);

  // At most one row per token that holds a player key, token 0 aside.
  std::size_t playerKeys = 0;
  std::size_t tokenBytes = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    playerKeys += i > 0 && Contains(tokens[i], "player_") ? 1 : 0;
    tokenBytes += tokens[i].size() + 1;
  }
  const std::vector<PlayerRow>& rows = outcome.shown.RowsInReplyOrder();
  FUZZ_CHECK(rows.size() <= playerKeys);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    FUZZ_CHECK(rows[i].caption.starts_with(' '));
    FUZZ_CHECK(rows[i].caption.size() <= tokenBytes);
    // A row is cut short only by the failure that ends the reading.
    const bool last = i + 1 == rows.size();
    FUZZ_CHECK(rows[i].subItems.size() == 3 || (last && outcome.ranOff && rows[i].subItems.size() < 3));
  }
  // The list shows the same rows sorted by caption.
  const std::vector<PlayerRow> listed = outcome.shown.Rows();
  FUZZ_CHECK(std::is_permutation(listed.begin(), listed.end(), rows.begin(), rows.end()));
  FUZZ_CHECK(std::is_sorted(listed.begin(), listed.end(), [](const PlayerRow& a, const PlayerRow& b) {
    return CompareCaptions(a.caption, b.caption) < 0;
  }));
  for (const auto& [number, text] : labels) {
    FUZZ_CHECK((number == 10 && text.starts_with("fraglimit: ")) || (number == 11 && text.starts_with("timelimit: ")));
  }
  if (tokens.size() < 2) {
    FUZZ_CHECK(rows.empty() && labels.empty() && !outcome.ranOff);
  }

  const Outcome again = Read(received);
  FUZZ_CHECK(fuzz::SameShown(again.shown, outcome.shown) && again.ranOff == outcome.ranOff);
  return 0;
}
