// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/remote_commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/command_line.h"
#include "console_rig.h"
#include "core/integer_text.h"
#include "support/scripted_confirmation.h"

namespace kestrova::test {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

TEST(KickPlayer, OnYesSendsTheCaptionByteForByteAndShowsTheReply) {
  ConsoleRig rig;
  const std::string caption =
      " Pl\x80y\xA0\xFF"
      "er";
  ScriptedConfirmation confirmation({true});
  OneAnswer answer(rig.server, {"\xFF\xFF\xFF\xFFprint\nPlayer kicked\n"});

  EXPECT_TRUE(KickPlayer(caption, "rcon secret", confirmation, rig.exchange));

  EXPECT_THAT(confirmation.questions, ElementsAre("Kick \"" + caption + "\"?"));
  EXPECT_EQ(answer.Request(), kHeader +
                                  "rcon secret kick  Pl\x80y\xA0\xFF"
                                  "er");
  EXPECT_THAT(rig.output.lines, ElementsAre("Player kicked"));
}

TEST(KickPlayer, OnNoSendsNothing) {
  ConsoleRig rig;
  ScriptedConfirmation confirmation({false});

  EXPECT_FALSE(KickPlayer(" Someone", "rcon secret", confirmation, rig.exchange));

  EXPECT_THAT(confirmation.questions, ElementsAre("Kick \" Someone\"?"));
  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
  EXPECT_THAT(rig.output.lines, IsEmpty());
}

TEST(KickPlayer, UsesThePrefixFieldTextUnchanged) {
  struct Case {
    std::string prefix;
    std::string datagram;
  } const cases[] = {
      {std::string(kPrefixPlaceholder), kHeader + "Always add text from here to commands kick  Bob"},
      {"", kHeader + " kick  Bob"},
      {"rcon secret", kHeader + "rcon secret kick  Bob"},
  };
  for (const Case& c : cases) {
    ConsoleRig rig;
    ScriptedConfirmation confirmation({true});
    OneAnswer answer(rig.server, {"ok\n"});
    EXPECT_TRUE(KickPlayer(" Bob", c.prefix, confirmation, rig.exchange));
    EXPECT_EQ(answer.Request(), c.datagram) << "prefix '" << c.prefix << "'";
  }
}

TEST(KickPlayer, KillserverInTheNameStillAwaitsTheReply) {
  ConsoleRig rig;
  ScriptedConfirmation confirmation({true});
  OneAnswer answer(rig.server, {"print\nbye killserver\n"});

  EXPECT_TRUE(KickPlayer(" killserver", "rcon secret", confirmation, rig.exchange));

  EXPECT_THAT(rig.output.lines, ElementsAre("bye killserver"));
}

TEST(KickPlayer, BadPortAsksButSendsNothing) {
  ConsoleRig rig;
  rig.endpoint.gamePortText = "12a";
  ScriptedConfirmation confirmation({true});

  EXPECT_THROW(KickPlayer(" Bob", "rcon secret", confirmation, rig.exchange), ConversionError);

  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
  EXPECT_THAT(rig.output.lines, IsEmpty());
}

TEST(ChangeMap, SendsTheIdentifierOfTheChosenItem) {
  for (int index = 0; index < 7; ++index) {
    ConsoleRig rig;
    ScriptedConfirmation confirmation({true});
    const std::string identifier = "dm/mohdm" + std::to_string(index + 1);
    OneAnswer answer(rig.server, {"print\nchanging\n"});

    EXPECT_TRUE(ChangeMap(index, "rcon secret", confirmation, rig.exchange));

    EXPECT_THAT(confirmation.questions, ElementsAre("Change map to \"" + identifier + "\"?"));
    EXPECT_EQ(answer.Request(), kHeader + "rcon secret map " + identifier);
    EXPECT_THAT(rig.output.lines, ElementsAre("changing"));
  }
}

TEST(ChangeMap, EmptyPrefixAndNoAnswer) {
  ConsoleRig rig;
  ScriptedConfirmation confirmation({false, true});

  EXPECT_FALSE(ChangeMap(2, "", confirmation, rig.exchange));
  EXPECT_EQ(rig.server.Receive(300), std::nullopt);

  OneAnswer answer(rig.server, {"ok\n"});
  EXPECT_TRUE(ChangeMap(2, "", confirmation, rig.exchange));
  EXPECT_EQ(answer.Request(), kHeader + " map dm/mohdm3");
}

TEST(ChangeMap, IndexOutsideTheTableAsksNothing) {
  ConsoleRig rig;
  ScriptedConfirmation confirmation;

  EXPECT_FALSE(ChangeMap(-1, "rcon secret", confirmation, rig.exchange));
  EXPECT_FALSE(ChangeMap(7, "rcon secret", confirmation, rig.exchange));

  EXPECT_THAT(confirmation.questions, IsEmpty());
  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
}

TEST(RemoteCommands, AskNothingWhileAnotherCommandWaits) {
  ConsoleRig rig;
  ScriptedConfirmation confirmation;
  std::vector<bool> results;
  rig.output.onAppend = [&](const std::string&) {
    results.push_back(KickPlayer(" Bob", "rcon secret", confirmation, rig.exchange));
    results.push_back(ChangeMap(0, "rcon secret", confirmation, rig.exchange));
  };
  OneAnswer answer(rig.server, {"line\n"});

  ASSERT_TRUE(rig.exchange.Run("status", true));

  EXPECT_THAT(results, ElementsAre(false, false));
  EXPECT_THAT(confirmation.questions, IsEmpty());
  EXPECT_EQ(answer.Request(), kHeader + "status");
  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
}

}  // namespace
}  // namespace kestrova::test
