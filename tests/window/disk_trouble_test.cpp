// SPDX-License-Identifier: GPL-3.0-or-later
// The window's files where the disk is full or the working folder has
// gone: monitoring goes on, "data.dat" keeps what it held, the day's log
// keeps whole records only, and each failure reaches the user as it always
// does (a message box for the save, nothing for the log).
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "storage/player_log.h"
#include "storage/settings_file.h"
#include "support/fixed_clock.h"
#include "support/sim_server.h"
#include "support/small_disk.h"
#include "ui/player_list.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

class DiskTroubleTest : public WindowTest {
 protected:
  // The window of `build` working in `folder`.
  void OpenIn(BuildKind build, const std::filesystem::path& folder) { Open(build, Services(confirmation_, folder)); }

  // Changes the server's map and waits until the window shows it.
  bool ShowsAMapChange(SimServer& server, const std::string& map) {
    server.Control("map " + map);
    return TickUntil([&] { return Form().Label7->text() == QString::fromStdString("mapname: " + map); });
  }
};

TEST_F(DiskTroubleTest, OnAFullDiskTheSaveIsReportedAndTheOldSettingsStay) {
  SmallDisk disk;
  if (!disk.Mounted()) {
    GTEST_SKIP() << disk.Reason();
  }
  SimServer server({"--players", "2"});
  const std::string old =
      SettingsFileBytes({0x7F000001, std::to_string(server.GamePort()), std::to_string(server.QueryPort())});
  WriteFileBytes(disk / "data.dat", old);
  disk.Fill();
  OpenIn(BuildKind::Standard, disk.Path());
  ASSERT_EQ(Form().Edit2->text(), QString::number(server.GamePort()));

  ClickStart();  // the focus entry saves, the click starts the cycles
  EXPECT_EQ(errors_.messages, std::vector<std::string>{"Disk full"});
  EXPECT_EQ(ReadFileBytes(disk / "data.dat"), old);
  EXPECT_TRUE(TickUntil([&] { return Form().Shown().RowCount() > 0; }));
  EXPECT_TRUE(ShowsAMapChange(server, "dm/mohdm3"));
}

TEST_F(DiskTroubleTest, OnAFullDiskTheLogKeepsWholeRecordsAndResumesWhenThereIsRoom) {
  SmallDisk disk;
  if (!disk.Mounted()) {
    GTEST_SKIP() << disk.Reason();
  }
  SimServer server({"--players", "20"});
  // The next record would start in this file's last page and need another.
  const std::string old = std::string(4000, 'o');
  WriteFileBytes(disk / LogFileName(kNow), old);
  OpenIn(BuildKind::Log, disk.Path());
  PointAt(server.GamePort(), server.QueryPort());
  Form().JvIntegerEdit1->setText(QStringLiteral("1"));
  disk.Fill();
  ClickStart();

  EXPECT_TRUE(ShowsAMapChange(server, "dm/mohdm5"));
  Tick(2);
  EXPECT_EQ(ReadFileBytes(disk / LogFileName(kNow)), old);
  EXPECT_EQ(Form().Log()->Counter(), 0);
  // The save at START says so; the log's failures are dropped silently.
  EXPECT_EQ(errors_.messages, std::vector<std::string>{"Disk full"});

  disk.Free();
  ASSERT_TRUE(TickUntil([&] { return Form().Log()->Counter() >= 3; }));
  const std::string bytes = ReadFileBytes(disk / LogFileName(kNow));
  EXPECT_TRUE(bytes.starts_with(old + "07-12-2026 01:05:15\r\n")) << bytes.substr(0, 4100);
  EXPECT_TRUE(bytes.ends_with(";\r\n\r\n"));
}

TEST_F(DiskTroubleTest, AWorkingFolderRemovedWhileTheLogRunsStopsOnlyTheLog) {
  SimServer server({"--players", "3"});
  const std::filesystem::path folder = folder_ / "work";
  std::filesystem::create_directory(folder);
  OpenIn(BuildKind::Log, folder);
  PointAt(server.GamePort(), server.QueryPort());
  Form().JvIntegerEdit1->setText(QStringLiteral("1"));
  ClickStart();
  ASSERT_TRUE(TickUntil([&] { return Form().Log()->Counter() >= 2; }));
  ASSERT_TRUE(std::filesystem::exists(folder / "data.dat"));

  std::filesystem::remove_all(folder);
  EXPECT_TRUE(ShowsAMapChange(server, "dm/mohdm2"));
  server.Control("player add Late Comer;1;2;3");
  EXPECT_TRUE(TickUntil([&] { return Form().Shown().RowCount() == 4; }));
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_TRUE(errors_.messages.empty());
}

TEST_F(DiskTroubleTest, AWorkingFolderRemovedBeforeStartFailsTheSaveOnly) {
  SimServer server({"--players", "3"});
  const std::filesystem::path folder = folder_ / "work";
  std::filesystem::create_directory(folder);
  OpenIn(BuildKind::Standard, folder);
  PointAt(server.GamePort(), server.QueryPort());
  std::filesystem::remove_all(folder);

  ClickStart();
  EXPECT_EQ(errors_.messages, std::vector<std::string>{"Invalid filename"});
  EXPECT_TRUE(TickUntil([&] { return Form().Shown().RowCount() == 3; }));
  EXPECT_TRUE(ShowsAMapChange(server, "dm/mohdm6"));
  EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace kestrova::test
