// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-query's command line: the arguments of one input are cut at
// zero bytes, as a process receives them, and read in a UTF-8 locale and
// in a single-byte one.
#include "core/integer_text.h"
#include "core/reply_text.h"
#include "fuzz_support.h"
#include "tools/arguments/argument_text.h"
#include "tools/query/query_arguments.h"

namespace {

using namespace kestrova;

void CheckPort(const std::string& text) {
  const std::int32_t port = StrictIntegerValue(text);
  FUZZ_CHECK(port >= 1 && port <= 65535 && std::to_string(port) == text);
}

void CheckParse(const std::vector<std::string>& arguments, bool utf8Locale) {
  std::optional<QueryArguments> parsed;
  try {
    parsed = ParseQueryArguments(arguments, utf8Locale);
  } catch (const UsageError& error) {
    // A usage message is one line.
    const std::string_view message = error.what();
    FUZZ_CHECK(!message.empty() && message.find_first_of("\r\n") == std::string_view::npos);
    FUZZ_CHECK(message.size() <= 400);
  }
  if (parsed) {
    CheckPort(parsed->gamePortText);
    CheckPort(parsed->queryPortText);
    FUZZ_CHECK(ParseDottedAddress(AddressToText(parsed->address)) == parsed->address);
    FUZZ_CHECK(ParseQueryArguments(arguments, utf8Locale) == *parsed);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input = fuzz::InputText(data, size);
  std::vector<std::string> arguments;
  if (!input.empty()) {
    arguments = fuzz::SplitInput(input, std::string_view("\0", 1));
  }
  CheckParse(arguments, false);
  CheckParse(arguments, true);

  for (const std::string& argument : arguments) {
    // Quoted for a message: on one line, at most 40 characters and the quotes.
    const std::string quoted = QuotedArgument(argument);
    FUZZ_CHECK(quoted.find_first_of("\r\n") == std::string::npos);
    if (const auto points = DecodeUtf8(quoted)) {
      FUZZ_CHECK(points->size() <= 45);
    }
    // Valid UTF-8 decodes to characters that encode back to the same bytes;
    // a character past U+00FF is refused for the single-byte server text.
    if (const auto points = DecodeUtf8(argument)) {
      std::string single;
      bool fits = true;
      for (const std::uint32_t point : *points) {
        FUZZ_CHECK(point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF));
        fits = fits && point <= 0xFF;
        single += static_cast<char>(point);
      }
      try {
        FUZZ_CHECK(SingleByteText(argument, "--rcon") == single && fits);
      } catch (const UsageError&) {
        FUZZ_CHECK(!fits);
      }
    } else {
      FUZZ_CHECK(SingleByteText(argument, "--rcon") == argument);
    }
  }
  return 0;
}
