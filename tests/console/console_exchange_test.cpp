// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/console_exchange.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <vector>

#include "console/command_line.h"
#include "console_rig.h"
#include "core/integer_text.h"
#include "core/responsive_wait.h"
#include "core/socket_error.h"
#include "support/captured_replies.h"
#include "support/manual_clock.h"

namespace kestrova::test {
namespace {

using namespace std::string_literals;
using testing::ElementsAre;
using testing::IsEmpty;

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

struct DatagramCase {
  const char* what;
  std::string command;
};

// Names the case in failure messages instead of dumping its bytes.
void PrintTo(const DatagramCase& c, std::ostream* os) { *os << c.what; }

const DatagramCase kDatagramCases[] = {
    {"empty", ""s},
    {"plain", "rcon secret status"s},
    {"blanks kept", " clear "s},
    {"high bytes and NUL", "say \x80\xA0\xFF\0end"s},
};

class DatagramBytesTest : public testing::TestWithParam<DatagramCase> {};

TEST_P(DatagramBytesTest, AreTheHeaderFollowedByTheCommand) {
  ConsoleRig rig;
  OneAnswer answer(rig.server, {"print\nok\n"});

  EXPECT_TRUE(rig.exchange.Run(GetParam().command, true));

  EXPECT_EQ(answer.Request(), kHeader + GetParam().command);
  EXPECT_EQ(answer.Request()->size(), 5 + GetParam().command.size());
  EXPECT_THAT(rig.output.lines, ElementsAre("ok"));
}

INSTANTIATE_TEST_SUITE_P(Commands, DatagramBytesTest, testing::ValuesIn(kDatagramCases),
                         [](const testing::TestParamInfo<DatagramCase>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.what)) {
                             name += c == ' ' ? '_' : c;
                           }
                           return name;
                         });

TEST(ConsoleExchange, AppendsThePrintedLinesAndScrolls) {
  ConsoleRig rig;
  for (const std::string& line : ConsoleHelpText()) {
    rig.output.AppendLine(line);
  }
  OneAnswer answer(rig.server, {"\xFF\xFF\xFF\xFFprint\nmap: dm/mohdm1\nnum score ping name\npartial"});

  ASSERT_TRUE(rig.exchange.Run("rcon secret status", true));

  // The unfinished last line is shown as it came, and marked.
  ASSERT_EQ(rig.output.lines.size(), 26u);
  EXPECT_EQ(rig.output.lines[22], "map: dm/mohdm1");
  EXPECT_EQ(rig.output.lines[23], "num score ping name");
  EXPECT_EQ(rig.output.lines[24], "partial");
  EXPECT_EQ(rig.output.lines[25], "[output may be incomplete: part of the reply did not arrive]");
  EXPECT_EQ(rig.output.scrolls, 1);
}

TEST(ConsoleExchange, TakesTheGamePortAfreshForEveryCommand) {
  ConsoleRig rig;
  UdpPeer otherServer;
  {
    OneAnswer answer(rig.server, {"one\n"});
    ASSERT_TRUE(rig.exchange.Run("first", true));
    EXPECT_EQ(answer.Request(), kHeader + "first");
  }
  rig.endpoint.gamePortText = std::to_string(otherServer.Port());
  OneAnswer answer(otherServer, {"two\n"});
  ASSERT_TRUE(rig.exchange.Run("second", true));

  EXPECT_EQ(answer.Request(), kHeader + "second");
  EXPECT_THAT(rig.output.lines, ElementsAre("one", "two"));
  EXPECT_EQ(rig.server.Receive(100), std::nullopt);
}

TEST(ConsoleExchange, TimeOutAddsNothingButScrollsALongList) {
  ConsoleRig rig(300);
  rig.output.AppendLine("a");
  rig.output.AppendLine("b");

  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(rig.exchange.Run("status", true));

  EXPECT_GE(MillisecondsSince(start), 290);
  EXPECT_EQ(rig.server.Receive(), kHeader + "status");
  EXPECT_THAT(rig.output.lines, ElementsAre("a", "b"));
  EXPECT_EQ(rig.output.scrolls, 1);
}

TEST(ConsoleExchange, DoesNotScrollAListOfOneLine) {
  ConsoleRig rig(300);
  rig.output.AppendLine("only");

  ASSERT_TRUE(rig.exchange.Run("status", true));

  EXPECT_THAT(rig.output.lines, ElementsAre("only"));
  EXPECT_EQ(rig.output.scrolls, 0);
}

TEST(ConsoleExchange, WithoutAWaitSendsAndScrollsAtOnce) {
  ConsoleRig rig(10000);
  rig.output.AppendLine("a");
  rig.output.AppendLine("b");

  const Clock::time_point start = Clock::now();
  ASSERT_TRUE(rig.exchange.Run("rcon secret killserver", false));

  EXPECT_LT(MillisecondsSince(start), 5000);
  EXPECT_EQ(rig.server.Receive(), kHeader + "rcon secret killserver");
  EXPECT_EQ(rig.output.scrolls, 1);
}

const std::string kMarkedPrint = "\xFF\xFF\xFF\xFF\x01print\n";

TEST(ConsoleExchange, JoinsAReplyCutInsideLinesBeforeRenderingIt) {
  ConsoleRig rig;
  {
    OneAnswer answer(rig.server,
                     {kMarkedPrint + "map: dm/mohdm1\nli", kMarkedPrint + "ne 2\nline", kMarkedPrint + " 3\n"});
    ASSERT_TRUE(rig.exchange.Run("status", true));
  }
  EXPECT_THAT(rig.output.lines, ElementsAre("map: dm/mohdm1", "line 2", "line 3"));
  EXPECT_EQ(rig.exchange.LastReplyDatagrams(), 3);

  // Nothing of it is left behind to be shown under the next command.
  OneAnswer answer(rig.server, {kMarkedPrint + "next\n"});
  ASSERT_TRUE(rig.exchange.Run("path", true));
  EXPECT_THAT(rig.output.lines, ElementsAre("map: dm/mohdm1", "line 2", "line 3", "next"));
}

TEST(ConsoleExchange, ShowsTheOutputOfARealServerWhole) {
  ConsoleRig rig;
  OneAnswer answer(rig.server, CapturedDatagrams("rcon-cvarlist"));

  ASSERT_TRUE(rig.exchange.Run("rcon cvarlist cvarlist", true));

  EXPECT_EQ(rig.exchange.LastReplyDatagrams(), 9);
  ASSERT_EQ(rig.output.lines.size(), 283u);
  EXPECT_EQ(rig.output.lines[0], "   RI     g_arenasFile \"\"");
  EXPECT_EQ(rig.output.lines.back(), "280 cvar indexes");
}

TEST(ConsoleExchange, CountsNoReplyDatagramsAfterATimeOutOrWithoutAWait) {
  ConsoleRig rig(300);
  {
    OneAnswer answer(rig.server, {kMarkedPrint});
    ASSERT_TRUE(rig.exchange.Run("map dm/mohdm2", true));
  }
  EXPECT_EQ(rig.exchange.LastReplyDatagrams(), 1);
  EXPECT_THAT(rig.output.lines, IsEmpty());

  ASSERT_TRUE(rig.exchange.Run("status", true));
  EXPECT_EQ(rig.exchange.LastReplyDatagrams(), 0);
  ASSERT_EQ(rig.server.Receive(), kHeader + "status");

  ASSERT_TRUE(rig.exchange.Run("rcon secret killserver", false));
  EXPECT_EQ(rig.exchange.LastReplyDatagrams(), 0);
}

TEST(ConsoleExchange, ShowsLateOutputJoinedBeforeTheNextCommandsOutput) {
  ConsoleRig rig(300);
  ASSERT_TRUE(rig.exchange.Run("slow", true));
  ASSERT_EQ(rig.server.Receive(), kHeader + "slow");
  rig.server.Reply(kMarkedPrint + "late 1\nla");
  rig.server.Reply(kMarkedPrint + "te 2\n");

  OneAnswer answer(rig.server, {kMarkedPrint + "fresh\n"});
  ASSERT_TRUE(rig.exchange.Run("next", true));

  EXPECT_EQ(answer.Request(), kHeader + "next");
  EXPECT_THAT(rig.output.lines, ElementsAre("late 1", "late 2", "fresh"));
}

TEST(ConsoleExchange, ShowsLateOutputAlsoForACommandWithoutAWait) {
  ConsoleRig rig(300);
  ASSERT_TRUE(rig.exchange.Run("slow", true));
  ASSERT_EQ(rig.server.Receive(), kHeader + "slow");
  rig.server.Reply("print\nlate 1\n");
  rig.server.Reply("print\nlate 2\n");

  ASSERT_TRUE(rig.exchange.Run("rcon secret killserver", false));

  EXPECT_THAT(rig.output.lines, ElementsAre("late 1", "late 2"));
  EXPECT_EQ(rig.output.scrolls, 1);
}

TEST(ConsoleExchange, BadPortTextThrowsAndSendsNothing) {
  ConsoleRig rig;
  rig.output.AppendLine("kept");
  rig.endpoint.gamePortText = "12a";

  try {
    rig.exchange.Run("status", true);
    FAIL() << "no ConversionError";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "'12a' is not a valid integer value");
  }

  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
  EXPECT_THAT(rig.output.lines, ElementsAre("kept"));
  EXPECT_EQ(rig.output.scrolls, 0);
  EXPECT_FALSE(rig.exchange.Busy());
}

TEST(ConsoleExchange, OversizedReplyThrowsAndAddsNothing) {
  ConsoleRig rig;
  {
    OneAnswer answer(rig.server, {std::string(8193, 'x')});
    try {
      rig.exchange.Run("status", true);
      FAIL() << "no SocketError";
    } catch (const SocketError& error) {
      EXPECT_EQ(error.Code(), 10040);
    }
  }
  EXPECT_THAT(rig.output.lines, IsEmpty());
  EXPECT_FALSE(rig.exchange.Busy());

  // The client goes on working after the failure.
  OneAnswer answer(rig.server, {"fine\n"});
  EXPECT_TRUE(rig.exchange.Run("status", true));
  EXPECT_THAT(rig.output.lines, ElementsAre("fine"));
}

TEST(ConsoleExchange, OversizedLaterPartAddsNoneOfTheReply) {
  ConsoleRig rig;
  OneAnswer answer(rig.server, {"part 1\n", std::string(8193, 'x')});

  EXPECT_THROW(rig.exchange.Run("status", true), SocketError);

  EXPECT_THAT(rig.output.lines, IsEmpty());
}

TEST(ConsoleExchange, IgnoresACommandStartedFromInsideTheOutput) {
  ConsoleRig rig;
  std::vector<bool> nestedResults;
  rig.output.onAppend = [&](const std::string&) { nestedResults.push_back(rig.exchange.Run("nested", true)); };
  OneAnswer answer(rig.server, {"one\ntwo\n"});

  ASSERT_TRUE(rig.exchange.Run("outer", true));

  EXPECT_EQ(answer.Request(), kHeader + "outer");
  EXPECT_THAT(nestedResults, ElementsAre(false, false));
  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
  EXPECT_FALSE(rig.exchange.Busy());
}

TEST(ConsoleExchange, IgnoresACommandStartedFromInsideTheWait) {
  ConsoleRig rig(600);
  // Window events handled while the console waits, as the responsive wait
  // does after a slice without data.
  std::vector<bool> results;
  const AntiFreeze antiFreeze([&] { results.push_back(rig.exchange.Run("from an event", true)); });
  rig.udp3.WaitsWith = &antiFreeze;

  ASSERT_TRUE(rig.exchange.Run("outer", true));

  ASSERT_FALSE(results.empty());
  EXPECT_THAT(results, testing::Each(false));
  EXPECT_EQ(rig.server.Receive(), kHeader + "outer");
  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
}

// Commands, with or without a wait, spend from the allowance they share
// with the info requests, and go out even when it is empty.
TEST(ConsoleExchange, EveryCommandSpendsFromTheAllowanceAndIsSentWhenItIsEmpty) {
  ConsoleRig rig;
  test::ManualClock clock;
  RequestAllowance allowance(clock);
  ConsoleExchange exchange(rig.udp3, rig.endpoint, rig.output, &allowance);
  for (int i = 0; i < 8; ++i) {
    allowance.Spend();
  }

  for (const std::string command : {"rcon secret say 1", "rcon secret killserver", "rcon secret say 2"}) {
    OneAnswer answer(rig.server, {"print\nok\n"});
    ASSERT_TRUE(exchange.Run(command, AwaitsReply(command)));
    EXPECT_EQ(answer.Request(), kHeader + command);
  }
  EXPECT_EQ(allowance.Available(), 0);
  clock.Advance(std::chrono::seconds(2));
  EXPECT_EQ(allowance.Available(), 2);
}

}  // namespace
}  // namespace kestrova::test
