// SPDX-License-Identifier: GPL-3.0-or-later
// The reply text helpers over any bytes a datagram can bring.
#include "core/reply_text.h"
#include "fuzz_support.h"

namespace {

using namespace kestrova;

// Each token in double quotes, inner quotes doubled, joined by commas: a
// text the tokenizer must read back as the same list.
std::string Quoted(const TokenList& tokens) {
  std::string text;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (i > 0) {
      text += ',';
    }
    text += '"';
    for (const char c : tokens[i]) {
      text += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    text += '"';
  }
  return text;
}

void CheckTokens(std::string_view text, const TokenList& tokens) {
  // Every token takes at least one byte of the text: its own bytes, its
  // opening quote, or the comma that ends it empty.
  FUZZ_CHECK(tokens.size() <= text.size());
  std::size_t bytes = 0;
  for (const std::string& token : tokens) {
    bytes += token.size();
    FUZZ_CHECK(token.find('\0') == std::string::npos);
  }
  FUZZ_CHECK(bytes <= text.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view received = fuzz::InputText(data, size);

  const std::string normalised = NormaliseReply(received);
  FUZZ_CHECK(normalised.size() <= received.size());
  FUZZ_CHECK(normalised.find_first_of(std::string_view("\0\xFF\\", 3)) == std::string::npos);
  FUZZ_CHECK(NormaliseReply(normalised) == normalised);
  FUZZ_CHECK(normalised == CutAtNul(normalised));

  TokenList tokens;
  SplitCommaText(normalised, tokens);
  CheckTokens(normalised, tokens);
  TokenList again{"left over"};
  SplitCommaText(normalised, again);
  FUZZ_CHECK(again == tokens);

  TokenList back;
  SplitCommaText(Quoted(tokens), back);
  FUZZ_CHECK(back == tokens);

  // The tokenizer also stops at a zero byte of its own.
  TokenList raw;
  SplitCommaText(received, raw);
  CheckTokens(CutAtNul(received), raw);
  return 0;
}
