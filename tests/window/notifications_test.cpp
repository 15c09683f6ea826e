// SPDX-License-Identifier: GPL-3.0-or-later
// The window's desktop notifications against the simulated server, with the
// notification area recorded and the silence timed by the test's clock.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include "support/sim_server.h"
#include "ui/player_list.h"
#include "ui/text_bytes.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

class NotificationsTest : public WindowTest {
 protected:
  void OpenWithSettings() { Open(BuildKind::Standard, Services(confirmation_, folder_.Path(), SettingsFile())); }

  QString SettingsFile() const { return QString::fromStdString((folder_ / "config/kestrova/kestrova.conf").string()); }

  QAction* Item(const char* name) { return Form().findChild<QAction*>(QString::fromLatin1(name)); }

  bool Told(const QString& text) const {
    return std::find(tray_->messages.begin(), tray_->messages.end(), QStringLiteral("Kestrova\n") + text) !=
           tray_->messages.end();
  }
};

TEST_F(NotificationsTest, TheTrayMenuSwitchesEachKindAndKeepsTheChoice) {
  OpenWithSettings();
  const QList<QAction*> items = Form().PopupMenu1->actions();
  ASSERT_EQ(items.size(), 6);
  const char* names[] = {"NotifySilence1", "NotifyMap1", "NotifyPlayers1", "NotifyFull1"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(items[i]->objectName(), QString::fromLatin1(names[i]));
    EXPECT_TRUE(items[i]->isCheckable());
    EXPECT_EQ(items[i]->isChecked(), i == 0) << names[i];
  }
  EXPECT_TRUE(items[4]->isSeparator());
  EXPECT_EQ(items[5], Form().ExitKestrova1);

  Item("NotifySilence1")->trigger();
  Item("NotifyFull1")->trigger();
  form_.reset();
  OpenWithSettings();
  EXPECT_FALSE(Item("NotifySilence1")->isChecked());
  EXPECT_FALSE(Item("NotifyMap1")->isChecked());
  EXPECT_FALSE(Item("NotifyPlayers1")->isChecked());
  EXPECT_TRUE(Item("NotifyFull1")->isChecked());
}

TEST_F(NotificationsTest, SilenceMapChangeAndALostPlayerAreTold) {
  SimServer server({"--hostname", "Notice Server", "--map", "dm/mohdm1"});
  ASSERT_EQ(server.Control("player add alice;1;2;30"), "ok");
  ASSERT_EQ(server.Control("player add bob;3;4;40"), "ok");
  receiveTimeoutMs_ = 500;
  OpenWithSettings();
  Item("NotifyMap1")->trigger();
  Item("NotifyPlayers1")->trigger();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  ASSERT_TRUE(TickUntil([&] { return Form().Shown().RowCount() == 2; }));

  ASSERT_EQ(server.Control("silent all on"), "ok");
  Tick();
  EXPECT_TRUE(Form().ListBox1.empty());
  EXPECT_TRUE(tray_->messages.empty()) << "half a second of silence is no news";
  steady_.Advance(6s);
  Tick();
  // Since the last answer: two ticks of half a second and six seconds.
  ASSERT_EQ(tray_->messages.size(), 1u);
  EXPECT_EQ(tray_->messages.front().toStdString(), "Kestrova\nNotice Server stops answering: no reply for 7 s");

  ASSERT_EQ(server.Control("map dm/mohdm6"), "ok");
  ASSERT_EQ(server.Control("player remove bob"), "ok");
  ASSERT_EQ(server.Control("silent all off"), "ok");
  Tick();
  ASSERT_EQ(tray_->messages.size(), 4u);
  EXPECT_EQ(tray_->messages[1].toStdString(), "Kestrova\nNotice Server answers again after 7 s of silence");
  EXPECT_TRUE(Told(QStringLiteral("Notice Server changed map from dm/mohdm1 to dm/mohdm6")));
  EXPECT_TRUE(Told(QStringLiteral("Notice Server: bob left")));
  // Players coming and going are low news, the rest normal.
  for (std::size_t i = 0; i < tray_->messages.size(); ++i) {
    EXPECT_EQ(tray_->urgencies[i],
              tray_->messages[i].endsWith(QStringLiteral(" left")) ? Urgency::Low : Urgency::Normal)
        << tray_->messages[i].toStdString();
  }
  EXPECT_TRUE(errors_.messages.empty());
  // A silent server is down, not limiting: nothing says it is paced.
  EXPECT_FALSE(Form().Pacing().Paced());
  EXPECT_FALSE(tray_->tips.back().contains(QString::fromLatin1(TForm1::kPacedNote)));
}

TEST_F(NotificationsTest, KindsSwitchedOffStayQuiet) {
  SimServer server({"--hostname", "Quiet Server", "--map", "dm/mohdm1"});
  OpenWithSettings();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  ASSERT_TRUE(TickUntil([&] { return Form().Label7->text() == QStringLiteral("mapname: dm/mohdm1"); }));
  ASSERT_EQ(server.Control("player add carl;0;0;50"), "ok");
  ASSERT_EQ(server.Control("map dm/mohdm2"), "ok");
  ASSERT_TRUE(TickUntil(
      [&] { return Form().Shown().RowCount() == 1 && Form().Label7->text() == QStringLiteral("mapname: dm/mohdm2"); }));
  EXPECT_TRUE(tray_->messages.empty());
}

}  // namespace
}  // namespace kestrova::test
