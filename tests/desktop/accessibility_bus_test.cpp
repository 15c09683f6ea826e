// SPDX-License-Identifier: GPL-3.0-or-later
// The window as screen readers meet it: the program on a private X display
// with a window manager, its accessibility bridge on a private AT-SPI bus
// (at-spi2-core's launcher inside a private session bus), read back over
// that bus by atspi_tree.py while xdotool presses F6.
#include <gtest/gtest.h>

#include "desktop/x_session.h"
#include "support/temp_dir.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

const char kBusLauncher[] = "/usr/libexec/at-spi-bus-launcher";

TEST(AccessibilityBus, ScreenReadersHearTheNamesAndFollowF6) {
#ifndef KESTROVA_PATH
  GTEST_SKIP() << "the kestrova program is not built";
#else
  for (const char* tool : {"Xvfb", "openbox", "xdotool", "dbus-daemon"}) {
    if (!ToolOnPath(tool)) GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
  }
  if (!std::filesystem::exists(kBusLauncher)) GTEST_SKIP() << "at-spi2-core is not installed";
  TempDir folder;
  const std::filesystem::path logs = folder.Path();  // the processes' output, shown on a failure
  XSession session(folder.Path(), logs / "xvfb.log");
  ASSERT_TRUE(session.Problem().empty()) << session.Problem();
  if (session.Run("/usr/bin/python3 -c 'import dbus; print(1)'") != "1\n") GTEST_SKIP() << "no python3-dbus";
  WindowManager windowManager(session, folder.Path(), logs / "openbox.log");
  ASSERT_TRUE(windowManager.Ready());
  const PrivateBus sessionBus(folder.Path());
  ASSERT_FALSE(sessionBus.Address().empty()) << "dbus-daemon did not start";
  std::vector<std::string> environment = session.Environment();
  environment.push_back("DBUS_SESSION_BUS_ADDRESS=" + sessionBus.Address());
  SpawnedProgram busLauncher({kBusLauncher, "--launch-immediately"}, environment, folder.Path(), logs / "atspi.log");
  environment.push_back("QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1");
  environment.push_back("XDG_CONFIG_HOME=" + (folder.Path() / "config").string());
  SpawnedProgram program({KESTROVA_PATH, "--folder", folder.Path().string()}, environment, folder.Path(),
                         logs / "kestrova.log");
  const auto tree = [&] {
    return session.Run("DBUS_SESSION_BUS_ADDRESS='" + sessionBus.Address() +
                       "' /usr/bin/python3 " KESTROVA_SOURCE_DIR "/tests/desktop/atspi_tree.py Kestrova");
  };
  // The object of this role and name, with its actions and whether it has the focus.
  const auto heard = [&](const std::string& line) {
    return ("\n" + tree()).find("\n" + line + "\n") != std::string::npos;
  };
  ASSERT_TRUE(WaitUntil([&] { return heard("text\tIP, part 1 of 4\tSetFocus\tfocused"); }, 20s))
      << tree() << session.Run("cat " + logs.string() + "/*.log");

  const std::string names = tree();
  for (const char* line : {"filler\tIP\tSetFocus", "text\tIP, part 4 of 4\tSetFocus\t", "text\thostport\tSetFocus\t",
                           "text\tqueryport\tSetFocus\t", "tree\tPlayers\t\t", "list\tConsole output\t\t",
                           "text\tCommand\t\t", "text\tPrefix\t\t", "link\t" KESTROVA_TEST_HOMEPAGE "\tPress\t"}) {
    EXPECT_NE(("\n" + names).find("\n" + std::string(line)), std::string::npos) << line << "\n" << names;
  }
  session.Run("xdotool windowactivate --sync " + session.FindWindow(program.Pid(), "^Kestrova by ZLX$") + " key F6");
  EXPECT_TRUE(WaitUntil([&] { return heard("tree\tPlayers\t\tfocused"); }, 20s)) << tree();
  session.Run("xdotool key F6");
  EXPECT_TRUE(WaitUntil([&] { return heard("text\tIP, part 1 of 4\tSetFocus\tfocused"); }, 20s)) << tree();
#endif
}

}  // namespace
}  // namespace kestrova::test
