#include "core/info_query.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/integer_text.h"
#include "queries/scripted_server.h"
#include "support/recording_display.h"

namespace kestrova::test {
namespace {

const std::vector<std::string> kFormCaptions = {
    "maxPing:", "pure:",    "gametypestring:", "gametype:", "sv_maxclients:",
    "clients:", "mapname:", "hostname:",       "protocol:"};

class InfoQueryTest : public ::testing::Test {
 protected:
  InfoQueryTest() {
    udp1.ReceiveTimeout = 2000;
    display.gamePortText = std::to_string(server.Port());
  }

  // One QueryInfo answered by the datagrams `replies` (none: silence).
  bool AskWith(std::vector<std::string> replies) {
    server.Start({replies});
    const bool valid = QueryInfo(udp1, display, display, display);
    requests = server.Finish();
    return valid;
  }

  void ExpectLabelsUntouched() const {
    for (int number = 1; number <= 9; ++number) {
      EXPECT_EQ(display.Label(number), kFormCaptions[static_cast<std::size_t>(number - 1)]) << "Label" << number;
    }
  }

  ScriptedServer server;
  DatagramClient udp1;
  RecordingDisplay display;
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
  EXPECT_EQ(display.Label(1), "maxPing: 200");
  EXPECT_EQ(display.Label(2), "pure: 1");
  EXPECT_EQ(display.Label(3), "gametypestring: Team-Match");
  EXPECT_EQ(display.Label(4), "gametype: 2");
  EXPECT_EQ(display.Label(5), "sv_maxclients: 16");
  EXPECT_EQ(display.Label(6), "clients: 3");
  EXPECT_EQ(display.Label(7), "mapname: dm/mohdm1");
  EXPECT_EQ(display.Label(8), "hostname:  My Test Server");
  EXPECT_EQ(display.Label(9), "protocol: 8");
  EXPECT_EQ(display.Hint(), "Kestrova by ZLX\n\rclients: 3\n\rmapname: dm/mohdm1");
  // The hint follows every position after token 0.
  EXPECT_EQ(display.HintCount(), static_cast<int>(display.InfoList().size()) - 1);
  ASSERT_FALSE(display.InfoList().empty());
  EXPECT_EQ(display.InfoList().front(), "infoResponse");
  EXPECT_EQ(display.InfoList().back(), "200");
}

TEST_F(InfoQueryTest, TimeOutEmptiesTheListAndChangesNothingElse) {
  udp1.ReceiveTimeout = 200;
  display.ReplaceInfoList({"infoResponse", "clients", "3"});

  EXPECT_FALSE(AskWith({}));

  EXPECT_EQ(requests.size(), 1u);
  EXPECT_TRUE(display.InfoList().empty());
  ExpectLabelsUntouched();
  EXPECT_EQ(display.HintCount(), 0);
}

TEST_F(InfoQueryTest, BadGamePortSendsNothing) {
  display.gamePortText = "12x03";

  EXPECT_THROW(QueryInfo(udp1, display, display, display), ConversionError);

  EXPECT_FALSE(server.Peer().Receive(300).has_value());
  EXPECT_TRUE(display.Calls().empty());
}

struct ValidityCase {
  const char* name;
  std::string reply;
  bool valid;
};

class InfoValidityTest : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(InfoValidityTest, OnlyAReplyBeginningWithInfoResponseCounts) {
  RecordingDisplay display;

  EXPECT_EQ(ShowInfoReply(GetParam().reply, display, display), GetParam().valid);

  for (int number = 1; number <= 9; ++number) {
    EXPECT_EQ(display.Label(number), kFormCaptions[static_cast<std::size_t>(number - 1)]);
  }
  EXPECT_EQ(display.HintCount(), 0);
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
  int label;
  std::string text;
};

class InfoLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(InfoLabelTest, ShowsTheValueAsTheReplyReadsIt) {
  RecordingDisplay display;

  ASSERT_TRUE(ShowInfoReply("infoResponse" + Fields(GetParam().fields), display, display));

  EXPECT_EQ(display.Label(GetParam().label), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, InfoLabelTest,
    ::testing::Values(
        LabelCase{"TwoBlanksInHostName", {"hostname", "My  Server", "protocol", "8"}, 8, "hostname:  My Server"},
        LabelCase{"HostNameWordWithProtocol", {"hostname", "Best protocols", "protocol", "8"}, 8, "hostname:  Best"},
        LabelCase{
            "FirstHostNameTokenAlwaysTaken", {"hostname", "protocolX", "protocol", "8"}, 8, "hostname:  protocolX"},
        LabelCase{"QuotedHostName", {"hostname", "\"A, B\"", "protocol", "8"}, 8, "hostname:  A, B"},
        LabelCase{"HighBytesKept", {"hostname", "\xC4rger \xFE", "protocol", "8"}, 8, "hostname:  \xC4rger \xFE"},
        LabelCase{"ValueOfFirstTokenOnly", {"gametypestring", "Team Match"}, 3, "gametypestring: Team"},
        LabelCase{"EmptyValue", {"pure", "", "gametype", "2"}, 2, "pure: "},
        LabelCase{"MapNamedClients", {"mapname", "clients", "hostname", "X", "protocol", "8"}, 6, "clients: hostname"},
        LabelCase{"RealClientsKeyOverwrites", {"mapname", "clients", "clients", "5"}, 6, "clients: 5"},
        LabelCase{"KeysCaseSensitive", {"Clients", "5"}, 6, "clients:"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InfoReplyTest, MapNamedClientsShowsInTheHint) {
  RecordingDisplay display;

  ShowInfoReply("infoResponse" + Fields({"mapname", "clients", "sv_maxclients", "8"}), display, display);

  EXPECT_EQ(display.Label(7), "mapname: clients");
  EXPECT_EQ(display.Hint(), "Kestrova by ZLX\n\rclients: sv_maxclients\n\rmapname: clients");
}

struct BreakCase {
  const char* name;
  std::vector<std::string> fields;
  std::size_t missingIndex;
};

class InfoBreakTest : public ::testing::TestWithParam<BreakCase> {};

TEST_P(InfoBreakTest, ReplyRunningOffItsEndFailsKeepingWhatWasSet) {
  RecordingDisplay display;

  try {
    ShowInfoReply("infoResponse" + Fields(GetParam().fields), display, display);
    FAIL() << "no failure";
  } catch (const std::out_of_range& error) {
    EXPECT_EQ(std::string(error.what()), "List index out of bounds (" + std::to_string(GetParam().missingIndex) + ")");
  }

  EXPECT_EQ(display.Label(2), "pure: 1");
  EXPECT_EQ(display.Label(6), "clients:");
  EXPECT_EQ(display.Label(8), "hostname:");
  // Positions 1 and 2 set the hint; the failing position does not.
  EXPECT_EQ(display.HintCount(), 2);
  EXPECT_EQ(display.InfoList().size(), GetParam().fields.size() + 1);
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
  RecordingDisplay display;

  ASSERT_TRUE(ShowInfoReply("infoResponse" + Fields(fields), display, display));

  EXPECT_EQ(display.InfoList().size(), 323u);
  EXPECT_EQ(display.Label(7), "mapname: dm/last");
  EXPECT_EQ(display.HintCount(), 322);
}

}  // namespace
}  // namespace kestrova::test
