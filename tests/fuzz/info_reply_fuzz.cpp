// SPDX-License-Identifier: GPL-3.0-or-later
// An info reply read as the info query reads every datagram on the game
// port: the info reply list, the nine labels and the tray hint.
#include <stdexcept>

#include "core/info_query.h"
#include "core/reply_text.h"
#include "fuzz_support.h"
#include "shown_model.h"

namespace {

using namespace kestrova;

struct Outcome {
  DisplayModel shown;
  bool valid = false;
  bool ranOff = false;
};

// Only running off the end of the list may stop the reading; any other
// exception escapes and counts as a crash.
Outcome Read(const std::string& received) {
  Outcome outcome;
  try {
    outcome.valid = ShowInfoReply(received, outcome.shown);
  } catch (const std::out_of_range&) {
    outcome.ranOff = true;
  }
  return outcome;
}

constexpr const char* kKeys[] = {"",        "maxPing", "pure",     "gametypestring", "gametype", "sv_maxclients",
                                 "clients", "mapname", "hostname", "protocol"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string received(fuzz::InputText(data, size));
  const Outcome outcome = Read(received);

  TokenList tokens;
  SplitCommaText(NormaliseReply(received), tokens);
  const DisplayModel& shown = outcome.shown;
  const std::map<int, std::string> labels = fuzz::SetLabels(shown);
  FUZZ_CHECK(shown.InfoList() == tokens);
  const bool infoResponse = !tokens.empty() && tokens[0] == "infoResponse";
  FUZZ_CHECK(outcome.valid == (infoResponse && !outcome.ranOff));
  if (!infoResponse) {
    FUZZ_CHECK(labels.empty() && shown.Hint() == kInitialHint && !outcome.ranOff);
  }

  // Each label is its key, ": " and a value taken from the list; a host
  // name joins tokens with one blank before each.
  std::size_t tokenBytes = 0;
  for (const std::string& token : tokens) {
    tokenBytes += token.size() + 1;
  }
  FUZZ_CHECK(labels.size() <= tokens.size());
  for (const auto& [number, text] : labels) {
    FUZZ_CHECK(number >= 1 && number <= 9);
    const std::string prefix = std::string(kKeys[number]) + ": ";
    FUZZ_CHECK(text.starts_with(prefix));
    FUZZ_CHECK(text.size() <= prefix.size() + tokenBytes);
  }
  // Once a position after token 0 was read, the hint shows the labels.
  FUZZ_CHECK(shown.Hint() == kInitialHint || shown.Hint() == std::string(kProgramTitle) + "\n\r" +
                                                                 shown.Label(ShownLabel::Clients) + "\n\r" +
                                                                 shown.Label(ShownLabel::MapName));

  const Outcome again = Read(received);
  FUZZ_CHECK(fuzz::SameShown(again.shown, shown) && again.valid == outcome.valid && again.ranOff == outcome.ranOff);
  return 0;
}
