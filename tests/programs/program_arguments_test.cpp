// SPDX-License-Identifier: GPL-3.0-or-later
// The window programs' command line: their own options, Qt's options
// passed on to QApplication, and the usage errors.
#include "app/program_arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrova {
namespace {

using Arguments = std::vector<std::string>;

ProgramArguments Help() {
  ProgramArguments parsed;
  parsed.help = true;
  return parsed;
}

ProgramArguments Version() {
  ProgramArguments parsed;
  parsed.version = true;
  return parsed;
}

ProgramArguments Qt(Arguments qtArguments) {
  ProgramArguments parsed;
  parsed.qtArguments = std::move(qtArguments);
  return parsed;
}

ProgramArguments Folder(const std::string& folder, Arguments qtArguments = {}) {
  ProgramArguments parsed = Qt(std::move(qtArguments));
  parsed.folder = folder;
  return parsed;
}

struct AcceptedCase {
  Arguments arguments;
  ProgramArguments expected;
};

class AcceptedArgumentsTest : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedArgumentsTest, ReadsAsExpected) {
  EXPECT_EQ(ParseProgramArguments(GetParam().arguments), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AcceptedArgumentsTest,
    ::testing::Values(AcceptedCase{{}, {}}, AcceptedCase{{"--help"}, Help()}, AcceptedCase{{"--version"}, Version()},
                      AcceptedCase{{"--folder", "my servers"}, Folder("my servers")},
                      AcceptedCase{{"--folder=/srv/k"}, Folder("/srv/k")},
                      // The empty forms ask for the per-user folder; the launchers use the first.
                      AcceptedCase{{"--folder="}, Folder("")}, AcceptedCase{{"--folder", ""}, Folder("")},
                      // A value is taken as it is, even when it looks like an option.
                      AcceptedCase{{"--folder", "--help"}, Folder("--help")},
                      AcceptedCase{{"-platform", "offscreen", "--folder", "d", "-reverse"},
                                   Folder("d", {"-platform", "offscreen", "-reverse"})},
                      AcceptedCase{
                          {"--style", "Fusion", "-style=Windows", "-stylesheet=a.qss", "--stylesheet", "b.qss"},
                          Qt({"--style", "Fusion", "-style=Windows", "-stylesheet=a.qss", "--stylesheet", "b.qss"})},
                      AcceptedCase{{"-display", ":1", "-geometry", "400x600+10+10", "-name", "k", "-title", "t"},
                                   Qt({"-display", ":1", "-geometry", "400x600+10+10", "-name", "k", "-title", "t"})},
                      AcceptedCase{{"-qmljsdebugger=port:3768", "-widgetcount", "--nograb"},
                                   Qt({"-qmljsdebugger=port:3768", "-widgetcount", "--nograb"})}));

struct RefusedCase {
  Arguments arguments;
  std::string reason;
};

class RefusedArgumentsTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedArgumentsTest, SaysWhy) {
  try {
    ParseProgramArguments(GetParam().arguments);
    FAIL() << "accepted";
  } catch (const CommandLineError& error) {
    EXPECT_EQ(error.what(), GetParam().reason);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedArgumentsTest,
                         ::testing::Values(RefusedCase{{"--no-such-option"}, "unknown option --no-such-option"},
                                           RefusedCase{{"-h"}, "unknown option -h"},
                                           // Qt reads neither of these forms, so they would be lost.
                                           RefusedCase{{"-platform=xcb"}, "unknown option -platform=xcb"},
                                           RefusedCase{{"-reverse=yes"}, "unknown option -reverse=yes"},
                                           RefusedCase{{"-qmljsdebugger"}, "unknown option -qmljsdebugger"},
                                           RefusedCase{{"--folder"}, "--folder needs a folder"},
                                           RefusedCase{{"--folder=a", "--folder", "b"}, "--folder is given twice"},
                                           RefusedCase{{"-style"}, "-style needs a value"},
                                           RefusedCase{{"data.dat"}, "unexpected argument 'data.dat'"},
                                           RefusedCase{{"-"}, "unexpected argument '-'"}));

}  // namespace
}  // namespace kestrova
