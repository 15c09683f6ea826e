// An info reply read as the info query reads every datagram on the game
// port: the info reply list, the nine labels and the tray hint.
#include <stdexcept>

#include "core/info_query.h"
#include "core/reply_text.h"
#include "fuzz_support.h"
#include "recording_query_display.h"

namespace {

using namespace kestrova;

struct Outcome {
  fuzz::RecordingQueryDisplay display;
  bool valid = false;
  bool ranOff = false;
};

// Only running off the end of the list may stop the reading; any other
// exception escapes and counts as a crash.
Outcome Read(const std::string& received) {
  Outcome outcome;
  try {
    outcome.valid = ShowInfoReply(received, outcome.display, outcome.display);
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
  FUZZ_CHECK(outcome.display.infoList == tokens);
  const bool infoResponse = !tokens.empty() && tokens[0] == "infoResponse";
  FUZZ_CHECK(outcome.valid == (infoResponse && !outcome.ranOff));
  if (!infoResponse) {
    FUZZ_CHECK(outcome.display.labels.empty() && outcome.display.hintCount == 0 && !outcome.ranOff);
  }

  // Each label is its key, ": " and a value taken from the list; a host
  // name joins tokens with one blank before each.
  std::size_t tokenBytes = 0;
  for (const std::string& token : tokens) {
    tokenBytes += token.size() + 1;
  }
  FUZZ_CHECK(outcome.display.labels.size() <= tokens.size());
  for (const auto& [number, text] : outcome.display.labels) {
    FUZZ_CHECK(number >= 1 && number <= 9);
    const std::string prefix = std::string(kKeys[number]) + ": ";
    FUZZ_CHECK(text.starts_with(prefix));
    FUZZ_CHECK(text.size() <= prefix.size() + tokenBytes);
  }
  // One hint per position read after token 0.
  FUZZ_CHECK(outcome.display.hintCount <= static_cast<int>(tokens.size()));

  const Outcome again = Read(received);
  FUZZ_CHECK(again.display == outcome.display && again.valid == outcome.valid && again.ranOff == outcome.ranOff);
  return 0;
}
