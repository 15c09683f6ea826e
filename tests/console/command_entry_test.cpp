// SPDX-License-Identifier: GPL-3.0-or-later
#include "console/command_entry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "console/command_line.h"
#include "console_rig.h"
#include "core/integer_text.h"

namespace kestrova::test {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

const std::string kPlaceholder(kPrefixPlaceholder);

// Edit4 and Edit5 as plain texts.
class FakeFields final : public CommandLineFields {
 public:
  FakeFields(std::string commandText, std::string prefixText)
      : command(std::move(commandText)), prefix(std::move(prefixText)) {}
  std::string CommandText() const override { return command; }
  void SetCommandText(const std::string& text) override {
    command = text;
    ++sets;
  }
  std::string PrefixText() const override { return prefix; }

  std::string command;
  std::string prefix;
  int sets = 0;
};

TEST(CommandLineRules, PrefillTakesThePrefixUnlessItIsThePlaceholder) {
  struct Case {
    std::string prefix;
    std::string commandLine;
  } const cases[] = {
      {kPlaceholder, ""},
      {"rcon secret", "rcon secret"},
      {"", ""},
      {kPlaceholder + " ", kPlaceholder + " "},
      {"always add text from here to commands", "always add text from here to commands"},
  };
  for (const Case& c : cases) {
    FakeFields fields("Type console commands here", c.prefix);
    PrefillCommandLine(fields);
    EXPECT_EQ(fields.command, c.commandLine) << "prefix '" << c.prefix << "'";
  }
}

TEST(CommandLineRules, OnlyKillserverCommandsGoWithoutAWait) {
  struct Case {
    const char* command;
    bool awaits;
  } const cases[] = {
      {"rcon secret killserver", false}, {"killserver", false}, {"xkillserverx", false},
      {"rcon secret KillServer", true},  {"status", true},      {"", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AwaitsReply(c.command), c.awaits) << c.command;
  }
}

TEST(EnterCommand, ClearEmptiesTheListAndSendsNothing) {
  ConsoleRig rig;
  for (const std::string& line : ConsoleHelpText()) {
    rig.output.AppendLine(line);
  }
  FakeFields fields("clear", kPlaceholder);

  EXPECT_TRUE(EnterCommand(fields, rig.exchange, rig.output));

  EXPECT_THAT(rig.output.lines, IsEmpty());
  EXPECT_EQ(fields.command, "");
  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
}

TEST(EnterCommand, SendsEveryOtherTextAndPrefillsTheLine) {
  for (const std::string command : {"Clear", " clear", "clear ", "rcon secret clear", ""}) {
    ConsoleRig rig;
    rig.output.AppendLine("kept");
    FakeFields fields(command, "rcon secret");
    OneAnswer answer(rig.server, {"print\nreply\n"});

    EXPECT_TRUE(EnterCommand(fields, rig.exchange, rig.output));

    EXPECT_EQ(answer.Request(), kHeader + command);
    EXPECT_THAT(rig.output.lines, ElementsAre("kept", "reply"));
    EXPECT_EQ(fields.command, "rcon secret");
  }
}

TEST(EnterCommand, ReadsThePrefixAfterTheReply) {
  ConsoleRig rig;
  FakeFields fields("status", "old");
  rig.output.onAppend = [&](const std::string&) { fields.prefix = "new"; };
  OneAnswer answer(rig.server, {"line\n"});

  ASSERT_TRUE(EnterCommand(fields, rig.exchange, rig.output));

  EXPECT_EQ(fields.command, "new");
}

TEST(EnterCommand, TimeOutStillEmptiesAndPrefillsTheLine) {
  ConsoleRig rig(300);
  FakeFields fields("status", kPlaceholder);

  ASSERT_TRUE(EnterCommand(fields, rig.exchange, rig.output));

  EXPECT_EQ(fields.command, "");
  EXPECT_EQ(fields.sets, 1);
  EXPECT_THAT(rig.output.lines, IsEmpty());
}

TEST(EnterCommand, KillserverGoesWithoutWaitingAndItsOutputComesLater) {
  ConsoleRig rig(10000);
  FakeFields fields("rcon secret killserver", "rcon secret");

  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(EnterCommand(fields, rig.exchange, rig.output));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));

  EXPECT_EQ(fields.command, "rcon secret");
  ASSERT_EQ(rig.server.Receive(), kHeader + "rcon secret killserver");
  rig.server.Reply("print\nshutting down\n");

  fields.command = "rcon secret status";
  OneAnswer answer(rig.server, {"print\nstatus line\n"});
  ASSERT_TRUE(EnterCommand(fields, rig.exchange, rig.output));
  EXPECT_THAT(rig.output.lines, ElementsAre("shutting down", "status line"));
}

TEST(EnterCommand, FailureKeepsTheCommandAndTheList) {
  ConsoleRig rig;
  rig.output.AppendLine("kept");
  rig.endpoint.gamePortText = "12a";
  FakeFields fields("rcon secret status", "rcon secret");

  EXPECT_THROW(EnterCommand(fields, rig.exchange, rig.output), ConversionError);

  EXPECT_EQ(fields.command, "rcon secret status");
  EXPECT_EQ(fields.sets, 0);
  EXPECT_THAT(rig.output.lines, ElementsAre("kept"));
}

TEST(EnterCommand, EnterInsideAWaitIsIgnored) {
  ConsoleRig rig;
  FakeFields outer("outer", kPlaceholder);
  FakeFields inner("inner", kPlaceholder);
  std::vector<bool> innerResults;
  rig.output.onAppend = [&](const std::string&) {
    innerResults.push_back(EnterCommand(inner, rig.exchange, rig.output));
  };
  OneAnswer answer(rig.server, {"line\n"});

  ASSERT_TRUE(EnterCommand(outer, rig.exchange, rig.output));

  EXPECT_THAT(innerResults, ElementsAre(false));
  EXPECT_EQ(inner.command, "inner");
  EXPECT_EQ(inner.sets, 0);
  EXPECT_EQ(answer.Request(), kHeader + "outer");
  EXPECT_EQ(rig.server.Receive(300), std::nullopt);
}

}  // namespace
}  // namespace kestrova::test
