// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/query/query_arguments.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/arguments/argument_text.h"

namespace kestrova {
namespace {

using Mode = QueryArguments::Mode;

struct GoodForm {
  std::vector<std::string> arguments;
  Mode mode;
  bool json;
  std::uint32_t address;
  std::string gamePort;
  std::string queryPort;
  std::string command;
};

class GoodForms : public testing::TestWithParam<GoodForm> {};

TEST_P(GoodForms, AreReadIntoTheirFields) {
  const GoodForm& form = GetParam();
  const QueryArguments parsed = ParseQueryArguments(form.arguments);
  EXPECT_EQ(parsed.mode, form.mode);
  EXPECT_EQ(parsed.json, form.json);
  EXPECT_EQ(parsed.address, form.address);
  EXPECT_EQ(parsed.gamePortText, form.gamePort);
  EXPECT_EQ(parsed.queryPortText, form.queryPort);
  EXPECT_EQ(parsed.command, form.command);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, GoodForms,
    testing::Values(
        // Query cycle: defaults, options in any order and in both spellings.
        GoodForm{{"127.0.0.1"}, Mode::Query, false, 0x7F000001, "12203", "12300", ""},
        GoodForm{{"--json", "10.1.2.3"}, Mode::Query, true, 0x0A010203, "12203", "12300", ""},
        GoodForm{{"127.0.0.1", "--json"}, Mode::Query, true, 0x7F000001, "12203", "12300", ""},
        GoodForm{{"--game-port", "5000", "--query-port", "5001", "127.0.0.1"}, Mode::Query, false, 0x7F000001,
                 "5000", "5001", ""},
        GoodForm{{"--query-port=7", "--game-port=8", "0.0.0.0"}, Mode::Query, false, 0, "8", "7", ""},
        GoodForm{{"255.255.255.255"}, Mode::Query, false, 0xFFFFFFFF, "12203", "12300", ""},
        // Ports by the window's integer rules, written back in decimal.
        GoodForm{{"--game-port", " $2FAB", "127.0.0.1"}, Mode::Query, false, 0x7F000001, "12203", "12300", ""},
        GoodForm{{"--game-port", "1", "--query-port", "65535", "127.0.0.1"}, Mode::Query, false, 0x7F000001, "1",
                 "65535", ""},
        // Console command: taken verbatim, even when it looks like an option.
        GoodForm{{"--rcon", "rcon secret status", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203",
                 "12300", "rcon secret status"},
        GoodForm{{"127.0.0.1", "--json", "--game-port", "9", "--rcon", "--json"}, Mode::Console, true, 0x7F000001,
                 "9", "12300", "--json"},
        GoodForm{{"--rcon", "", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203", "12300", ""},
        GoodForm{{"--rcon=map dm/mohdm2", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203", "12300",
                 "map dm/mohdm2"},
        GoodForm{{"--rcon", "--help", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203", "12300", "--help"},
        // Help and version win over everything else, wrong arguments
        // included; the first of them decides.
        GoodForm{{"--help"}, Mode::Help, false, 0, "12203", "12300", ""},
        GoodForm{{"--bogus", "--help"}, Mode::Help, false, 0, "12203", "12300", ""},
        GoodForm{{"--version", "--game-port", "0"}, Mode::Version, false, 0, "12203", "12300", ""},
        GoodForm{{"--help", "--version"}, Mode::Help, false, 0, "12203", "12300", ""},
        GoodForm{{"--version", "--help"}, Mode::Version, false, 0, "12203", "12300", ""},
        GoodForm{{"--rcon", "--version", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203", "12300",
                 "--version"}));

struct BadForm {
  std::vector<std::string> arguments;
  std::string reason;
};

class BadForms : public testing::TestWithParam<BadForm> {};

TEST_P(BadForms, AreWrongUsage) {
  const BadForm& form = GetParam();
  try {
    ParseQueryArguments(form.arguments);
    FAIL() << "accepted";
  } catch (const UsageError& error) {
    EXPECT_EQ(std::string(error.what()), form.reason);
  }
}

TEST(GoodForms, OpenMetricsIsAQueryCycleInAnotherFormat) {
  for (const std::vector<std::string>& arguments :
       {std::vector<std::string>{"--openmetrics", "127.0.0.1"}, {"127.0.0.1", "--openmetrics"}}) {
    const QueryArguments parsed = ParseQueryArguments(arguments);
    EXPECT_EQ(parsed.mode, Mode::Query);
    EXPECT_TRUE(parsed.openMetrics);
    EXPECT_FALSE(parsed.json);
  }
  EXPECT_FALSE(ParseQueryArguments({"127.0.0.1"}).openMetrics);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, BadForms,
    testing::Values(BadForm{{}, "the server address is missing"},
                    BadForm{{"--json"}, "the server address is missing"},
                    BadForm{{"127.0.0.1", "127.0.0.2"}, "unexpected argument '127.0.0.2'"},
                    BadForm{{"--port", "1", "127.0.0.1"}, "unknown option '--port'"},
                    BadForm{{"-j", "127.0.0.1"}, "unknown option '-j'"},
                    BadForm{{"--js", "127.0.0.1"}, "unknown option '--js'"},  // no abbreviations
                    BadForm{{"--json=yes", "127.0.0.1"}, "--json takes no value"},
                    BadForm{{"--", "--json"}, "'--json' is not a dotted IPv4 address"},  // "--" ends the options
                    BadForm{{"--" + std::string(50, 'x'), "127.0.0.1"},
                            "unknown option '--" + std::string(38, 'x') + "...'"},
                    BadForm{{"--game-port", "abc", "127.0.0.1"}, "--game-port: 'abc' is not a valid integer value"},
                    BadForm{{"--game-port", "", "127.0.0.1"}, "--game-port: '' is not a valid integer value"},
                    BadForm{{"--query-port", "12a", "127.0.0.1"}, "--query-port: '12a' is not a valid integer value"},
                    BadForm{{"--query-port", "99999", "127.0.0.1"},
                            "--query-port: '99999' is not a port from 1 to 65535"},
                    BadForm{{"--game-port", "0", "127.0.0.1"}, "--game-port: '0' is not a port from 1 to 65535"},
                    BadForm{{"--game-port", "-5", "127.0.0.1"}, "--game-port: '-5' is not a port from 1 to 65535"},
                    BadForm{{"--game-port", "1\n2", "127.0.0.1"}, "--game-port: '1?2' is not a valid integer value"},
                    BadForm{{"127.0.0.1", "--game-port"}, "--game-port needs a value"},
                    BadForm{{"127.0.0.1", "--rcon"}, "--rcon needs a value"},
                    BadForm{{"--json", "--json", "127.0.0.1"}, "--json is given twice"},
                    BadForm{{"--game-port", "1", "--game-port=2", "127.0.0.1"}, "--game-port is given twice"},
                    BadForm{{"--rcon", "status", "--query-port", "1", "127.0.0.1"},
                            "--query-port has no use with --rcon"},
                    BadForm{{"--openmetrics", "--openmetrics", "127.0.0.1"}, "--openmetrics is given twice"},
                    BadForm{{"--openmetrics", "--json", "127.0.0.1"}, "--json and --openmetrics exclude each other"},
                    BadForm{{"--rcon", "status", "--openmetrics", "127.0.0.1"},
                            "--openmetrics has no use with --rcon"},
                    BadForm{{"-"}, "'-' is not a dotted IPv4 address"},
                    BadForm{{"127.0.0.1 "}, "'127.0.0.1 ' is not a dotted IPv4 address"},
                    BadForm{{"localhost"}, "'localhost' is not a dotted IPv4 address"}));

struct CommandCase {
  std::string argument;
  bool utf8Locale;
  std::string sent;
};

class CommandTexts : public testing::TestWithParam<CommandCase> {};

TEST_P(CommandTexts, GoOutAsSingleByteText) {
  const QueryArguments parsed = ParseQueryArguments({"--rcon", GetParam().argument, "127.0.0.1"}, GetParam().utf8Locale);
  EXPECT_EQ(parsed.command, GetParam().sent);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, CommandTexts,
    testing::Values(CommandCase{"say caf\xC3\xA9", true, "say caf\xE9"},           // U+00E9 as the byte E9
                    CommandCase{"\xC2\x80\xC3\xBF", true, "\x80\xFF"},             // both ends of the range
                    CommandCase{"say caf\xC3\xA9", false, "say caf\xC3\xA9"},       // not a UTF-8 locale
                    CommandCase{"say caf\xE9", true, "say caf\xE9"},                 // not UTF-8: byte for byte
                    CommandCase{"\xC0\xAF", true, "\xC0\xAF"},                      // overlong form
                    CommandCase{"\xED\xA0\x80", true, "\xED\xA0\x80"},              // surrogate
                    CommandCase{"\xE2\x82", true, "\xE2\x82"},                      // cut short
                    CommandCase{"\xE2\x82\xAC", false, "\xE2\x82\xAC"},             // U+20AC, bytes as given
                    CommandCase{"rcon secret status", true, "rcon secret status"}));

TEST(CommandTexts, ACharacterBeyondU00FFIsWrongUsageNamingIt) {
  try {
    ParseQueryArguments({"--rcon", "say 5 \xE2\x82\xAC", "127.0.0.1"}, true);
    FAIL() << "accepted";
  } catch (const UsageError& error) {
    EXPECT_EQ(std::string(error.what()),
              "--rcon holds the character U+20AC '\xE2\x82\xAC', which the server's single-byte text cannot carry "
              "(only U+0000 to U+00FF)");
  }
}

struct QuoteCase {
  std::string argument;
  std::string quoted;
};

class QuotedArguments : public testing::TestWithParam<QuoteCase> {};

TEST_P(QuotedArguments, StayShortAndOnOneLine) { EXPECT_EQ(QuotedArgument(GetParam().argument), GetParam().quoted); }

INSTANTIATE_TEST_SUITE_P(
    CommandLine, QuotedArguments,
    testing::Values(QuoteCase{"", "''"}, QuoteCase{std::string(40, 'x'), "'" + std::string(40, 'x') + "'"},
                    QuoteCase{std::string(41, 'x'), "'" + std::string(40, 'x') + "...'"},
                    // Characters are counted, not bytes.
                    QuoteCase{std::string(20, 'x') + "\xC3\xA9" + std::string(19, 'x'),
                              "'" + std::string(20, 'x') + "\xC3\xA9" + std::string(19, 'x') + "'"},
                    QuoteCase{"a\nb\r\tc\x7F\xC2\x85", "'a?b?" "?c?" "?'"}, QuoteCase{"\xE9\x01", "'\xE9?'"}));

struct AddressCase {
  std::string text;
  std::optional<std::uint32_t> address;
};

class DottedAddresses : public testing::TestWithParam<AddressCase> {};

TEST_P(DottedAddresses, AreFourOctets) { EXPECT_EQ(ParseDottedAddress(GetParam().text), GetParam().address); }

INSTANTIATE_TEST_SUITE_P(CommandLine, DottedAddresses,
                         testing::Values(AddressCase{"127.0.0.1", 0x7F000001}, AddressCase{"0.0.0.0", 0},
                                         AddressCase{"192.168.10.5", 0xC0A80A05},
                                         AddressCase{"001.002.003.004", 0x01020304},
                                         AddressCase{"255.255.255.255", 0xFFFFFFFF},
                                         AddressCase{"256.0.0.1", std::nullopt},
                                         AddressCase{"1.2.3", std::nullopt}, AddressCase{"1.2.3.4.5", std::nullopt},
                                         AddressCase{"1.2.3.", std::nullopt}, AddressCase{".1.2.3", std::nullopt},
                                         AddressCase{"1..2.3", std::nullopt}, AddressCase{"0001.2.3.4", std::nullopt},
                                         AddressCase{" 1.2.3.4", std::nullopt},
                                         AddressCase{"1.2.3.4 ", std::nullopt}, AddressCase{"+1.2.3.4", std::nullopt},
                                         AddressCase{"0x7f.0.0.1", std::nullopt},
                                         AddressCase{"2130706433", std::nullopt}, AddressCase{"", std::nullopt}));

}  // namespace
}  // namespace kestrova
