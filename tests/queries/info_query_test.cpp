// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/info_query.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/integer_text.h"
#include "queries/scripted_server.h"
#include "support/query_window.h"

namespace kestrova::test {
namespace {

// Whether Label1..Label9 still show their initial captions.
bool InfoLabelsUntouched(const DisplayModel& shown) {
  for (int number = 1; number <= 9; ++number) {
    const auto label = static_cast<ShownLabel>(number);
    if (shown.Label(label) != DisplayModel::InitialCaption(label)) {
      return false;
    }
  }
  return true;
}

class InfoQueryTest : public ::testing::Test {
 protected:
  InfoQueryTest() {
    udp1.ReceiveTimeout = 2000;
    window.gamePortText = std::to_string(server.Port());
  }

  // One QueryInfo answered by the datagrams `replies` (none: silence).
  bool AskWith(std::vector<std::string> replies) {
    server.Start({replies});
    const bool valid = QueryInfo(udp1, window, window.shown);
    requests = server.Finish();
    return valid;
  }

  ScriptedServer server;
  DatagramClient udp1;
  QueryWindow window;
  const DisplayModel& shown = window.shown;
  std::vector<std::string> requests;
};

TEST_F(InfoQueryTest, FullReplySetsEveryLabelAndTheHint) {
  const std::string reply =
      "\xFF\xFF\xFF\xFFinfoResponse\n" +
      Fields({"pure", "1", "gametype", "2", "sv_maxclients", "16", "clients", "3", "mapname", "dm/mohdm1", "hostname",
              "My Test Server", "protocol", "8", "gametypestring", "Team-Match", "maxPing", "200"});

  EXPECT_TRUE(AskWith({reply}));

  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0], std::string("\xFF\xFF\xFF\xFF\x02getinfo xxx", 16));
  const std::vector<std::string> labels = {
      "maxPing: 200",      "pure: 1",    "gametypestring: Team-Match", "gametype: 2",
      "sv_maxclients: 16", "clients: 3", "mapname: dm/mohdm1",         "hostname:  My Test Server",
      "protocol: 8"};
  for (int number = 1; number <= 9; ++number) {
    EXPECT_EQ(shown.Label(static_cast<ShownLabel>(number)), labels[static_cast<std::size_t>(number - 1)]);
  }
  EXPECT_EQ(shown.Hint(), "Kestrova by ZLX\n\rclients: 3\n\rmapname: dm/mohdm1");
  // Each change told once: nine labels, and the hint when the first key
  // was read, then with clients and with mapname.
  EXPECT_EQ(window.calls.size(), 9u + 3u);
  ASSERT_FALSE(shown.InfoList().empty());
  EXPECT_EQ(shown.InfoList().front(), "infoResponse");
  EXPECT_EQ(shown.InfoList().back(), "200");
}

TEST_F(InfoQueryTest, TimeOutEmptiesTheListAndChangesNothingElse) {
  udp1.ReceiveTimeout = 200;
  window.shown.ReplaceInfoList({"infoResponse", "clients", "3"});

  EXPECT_FALSE(AskWith({}));

  EXPECT_EQ(requests.size(), 1u);
  EXPECT_TRUE(shown.InfoList().empty());
  EXPECT_TRUE(InfoLabelsUntouched(shown));
  EXPECT_EQ(shown.Hint(), kInitialHint);
}

TEST_F(InfoQueryTest, BadGamePortSendsNothing) {
  window.gamePortText = "12x03";
  window.shown.ReplaceInfoList({"infoResponse"});

  EXPECT_THROW(QueryInfo(udp1, window, window.shown), ConversionError);

  EXPECT_FALSE(server.Peer().Receive(300).has_value());
  EXPECT_TRUE(window.calls.empty());
  EXPECT_EQ(shown.InfoList(), TokenList{"infoResponse"});
}

struct ValidityCase {
  const char* name;
  std::string reply;
  bool valid;
};

class InfoValidityTest : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(InfoValidityTest, OnlyAReplyBeginningWithInfoResponseCounts) {
  DisplayModel shown;

  EXPECT_EQ(ShowInfoReply(GetParam().reply, shown), GetParam().valid);

  EXPECT_EQ(IsInfoReply(shown.InfoList()), GetParam().valid);
  EXPECT_TRUE(InfoLabelsUntouched(shown));
  EXPECT_EQ(shown.Hint(), kInitialHint);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, InfoValidityTest,
    ::testing::Values(ValidityCase{"OtherCase", "inforesponse" + Fields({"clients", "3"}), false},
                      ValidityCase{"Empty", "", false},
                      ValidityCase{"BackslashFirst", Fields({"infoResponse", "clients", "3"}), false},
                      ValidityCase{"TextAfterZeroByteIgnored", std::string("\0infoResponse", 13), false},
                      ValidityCase{"Alone", "infoResponse", true},
                      ValidityCase{"ControlBytesBefore", "\xFF\xFF\x01\x0A infoResponse", true}),
    [](const auto& info) { return std::string(info.param.name); });

struct LabelCase {
  const char* name;
  std::vector<std::string> fields;
  ShownLabel label;
  std::string text;
};

using enum ShownLabel;

class InfoLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(InfoLabelTest, ShowsTheValueAsTheReplyReadsIt) {
  DisplayModel shown;

  ASSERT_TRUE(ShowInfoReply("infoResponse" + Fields(GetParam().fields), shown));

  EXPECT_EQ(shown.Label(GetParam().label), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, InfoLabelTest,
    ::testing::Values(
        LabelCase{"TwoBlanksInHostName", {"hostname", "My  Server", "protocol", "8"}, HostName, "hostname:  My Server"},
        LabelCase{
            "HostNameWordWithProtocol", {"hostname", "Best protocols", "protocol", "8"}, HostName, "hostname:  Best"},
        LabelCase{"FirstHostNameTokenAlwaysTaken",
                  {"hostname", "protocolX", "protocol", "8"},
                  HostName,
                  "hostname:  protocolX"},
        LabelCase{"QuotedHostName", {"hostname", "\"A, B\"", "protocol", "8"}, HostName, "hostname:  A, B"},
        LabelCase{
            "HighBytesKept", {"hostname", "\xC4rger \xFE", "protocol", "8"}, HostName, "hostname:  \xC4rger \xFE"},
        LabelCase{"ValueOfFirstTokenOnly", {"gametypestring", "Team Match"}, GameTypeString, "gametypestring: Team"},
        LabelCase{"EmptyValue", {"pure", "", "gametype", "2"}, Pure, "pure: "},
        LabelCase{
            "MapNamedClients", {"mapname", "clients", "hostname", "X", "protocol", "8"}, Clients, "clients: hostname"},
        LabelCase{"RealClientsKeyOverwrites", {"mapname", "clients", "clients", "5"}, Clients, "clients: 5"},
        LabelCase{"KeysCaseSensitive", {"Clients", "5"}, Clients, "clients:"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InfoReplyTest, MapNamedClientsShowsInTheHint) {
  DisplayModel shown;

  ShowInfoReply("infoResponse" + Fields({"mapname", "clients", "sv_maxclients", "8"}), shown);

  EXPECT_EQ(shown.Label(MapName), "mapname: clients");
  EXPECT_EQ(shown.Hint(), "Kestrova by ZLX\n\rclients: sv_maxclients\n\rmapname: clients");
}

struct BreakCase {
  const char* name;
  std::vector<std::string> fields;
  std::size_t missingIndex;
};

class InfoBreakTest : public ::testing::TestWithParam<BreakCase> {};

TEST_P(InfoBreakTest, ReplyRunningOffItsEndFailsKeepingWhatWasSet) {
  DisplayModel shown;

  try {
    ShowInfoReply("infoResponse" + Fields(GetParam().fields), shown);
    FAIL() << "no failure";
  } catch (const std::out_of_range& error) {
    EXPECT_EQ(std::string(error.what()), "List index out of bounds (" + std::to_string(GetParam().missingIndex) + ")");
  }

  EXPECT_EQ(shown.Label(Pure), "pure: 1");
  EXPECT_EQ(shown.Label(Clients), "clients:");
  EXPECT_EQ(shown.Label(HostName), "hostname:");
  // The positions read before the failing one set the hint.
  EXPECT_EQ(shown.Hint(), "Kestrova by ZLX\n\rclients:\n\rmapname:");
  EXPECT_EQ(shown.InfoList().size(), GetParam().fields.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(Replies, InfoBreakTest,
                         ::testing::Values(BreakCase{"KeyWithoutValue", {"pure", "1", "clients"}, 4},
                                           BreakCase{
                                               "UnterminatedHostName", {"pure", "1", "hostname", "My", "Server"}, 6},
                                           BreakCase{"HostNameKeyLast", {"pure", "1", "hostname"}, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InfoReplyTest, LongReplyIsReadToItsLastToken) {
  std::vector<std::string> fields;
  for (int k = 0; k < 160; ++k) {
    fields.push_back("key" + std::to_string(k));
    fields.push_back("value" + std::to_string(k));
  }
  fields.push_back("mapname");
  fields.push_back("dm/last");
  DisplayModel shown;

  ASSERT_TRUE(ShowInfoReply("infoResponse" + Fields(fields), shown));

  EXPECT_EQ(shown.InfoList().size(), 323u);
  EXPECT_EQ(shown.Label(MapName), "mapname: dm/last");
  EXPECT_EQ(shown.Hint(), "Kestrova by ZLX\n\rclients:\n\rmapname: dm/last");
}

}  // namespace
}  // namespace kestrova::test
