#include "tools/query/query_arguments.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

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
        // Port texts are not judged here: the strict conversion does that
        // when the datagram is sent.
        GoodForm{{"--game-port", "12a", "127.0.0.1"}, Mode::Query, false, 0x7F000001, "12a", "12300", ""},
        GoodForm{{"--game-port", "", "127.0.0.1"}, Mode::Query, false, 0x7F000001, "", "12300", ""},
        GoodForm{{"--query-port", "-5", "127.0.0.1"}, Mode::Query, false, 0x7F000001, "12203", "-5", ""},
        GoodForm{{"--game-port", " $2FAB", "127.0.0.1"}, Mode::Query, false, 0x7F000001, " $2FAB", "12300", ""},
        // Console command: taken verbatim, even when it looks like an option.
        GoodForm{{"--rcon", "rcon secret status", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203",
                 "12300", "rcon secret status"},
        GoodForm{{"127.0.0.1", "--json", "--game-port", "9", "--rcon", "--json"}, Mode::Console, true, 0x7F000001,
                 "9", "12300", "--json"},
        GoodForm{{"--rcon", "", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203", "12300", ""},
        GoodForm{{"--rcon=map dm/mohdm2", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203", "12300",
                 "map dm/mohdm2"},
        GoodForm{{"--rcon", "--help", "127.0.0.1"}, Mode::Console, false, 0x7F000001, "12203", "12300", "--help"},
        // Help wins over everything else, wrong arguments included.
        GoodForm{{"--help"}, Mode::Help, false, 0, "12203", "12300", ""},
        GoodForm{{"--bogus", "--help"}, Mode::Help, false, 0, "12203", "12300", ""}));

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

INSTANTIATE_TEST_SUITE_P(
    CommandLine, BadForms,
    testing::Values(BadForm{{}, "the server address is missing"},
                    BadForm{{"--json"}, "the server address is missing"},
                    BadForm{{"127.0.0.1", "127.0.0.2"}, "unexpected argument 127.0.0.2"},
                    BadForm{{"--port", "1", "127.0.0.1"}, "unknown option --port"},
                    BadForm{{"-j", "127.0.0.1"}, "unknown option -j"},
                    BadForm{{"127.0.0.1", "--game-port"}, "--game-port needs a value"},
                    BadForm{{"127.0.0.1", "--rcon"}, "--rcon needs a value"},
                    BadForm{{"--json", "--json", "127.0.0.1"}, "--json is given twice"},
                    BadForm{{"--game-port", "1", "--game-port=2", "127.0.0.1"}, "--game-port is given twice"},
                    BadForm{{"--rcon", "status", "--query-port", "1", "127.0.0.1"},
                            "--query-port has no use with --rcon"},
                    BadForm{{"-"}, "'-' is not a dotted IPv4 address"},
                    BadForm{{"localhost"}, "'localhost' is not a dotted IPv4 address"}));

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
