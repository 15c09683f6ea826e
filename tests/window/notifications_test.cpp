// The window's desktop notifications against the simulated server, with the
// notification area recorded and the silence timed by a clock the test moves.
#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QTest>

#include "core/steady_clock.h"
#include "support/sim_server.h"
#include "ui/player_list.h"
#include "ui/text_bytes.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

// The system's steady clock, put forward by hand.
class MovableClock final : public SteadyClock {
 public:
  std::chrono::milliseconds Elapsed() const override { return system_.Elapsed() + ahead_; }
  void Advance(std::chrono::milliseconds span) { ahead_ += span; }

 private:
  SystemSteadyClock system_;
  std::chrono::milliseconds ahead_{0};
};

class NotificationsTest : public WindowTest {
 protected:
  void OpenWithSettings() {
    form_ = std::make_unique<TForm1>(
        BuildKind::Standard,
        FormServices{errors_, confirmation_, clock_, folder_.Path(), std::make_unique<RecordingTray>(tray_),
                     SettingsFile(), &steadyClock_, std::make_unique<RecordingNotifier>(tray_)});
    form_->FormCreate();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
  }

  QString SettingsFile() const { return QString::fromStdString((folder_ / "config/kestrova/kestrova.conf").string()); }

  QAction* Item(const char* name) { return Form().findChild<QAction*>(QString::fromLatin1(name)); }

  bool Told(const QString& text) const {
    return std::find(tray_->messages.begin(), tray_->messages.end(), QStringLiteral("Kestrova\n") + text) !=
           tray_->messages.end();
  }

  MovableClock steadyClock_;
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
  OpenWithSettings();
  Item("NotifyMap1")->trigger();
  Item("NotifyPlayers1")->trigger();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  ASSERT_TRUE(WaitUntil([&] { return Form().Shown().RowCount() == 2; }));

  ASSERT_EQ(server.Control("silent all on"), "ok");
  // A cycle that found the server silent has ended.
  ASSERT_TRUE(WaitUntil([&] { return Form().ListBox1.empty(); }));
  EXPECT_TRUE(tray_->messages.empty()) << "a second of silence is no news";
  steadyClock_.Advance(6s);
  ASSERT_TRUE(WaitUntil([&] { return !tray_->messages.empty(); }, 15s));
  // Six seconds put forward and the real time since the last answer.
  EXPECT_TRUE(
      tray_->messages.front().startsWith(QStringLiteral("Kestrova\nNotice Server stops answering: no reply for ")))
      << tray_->messages.front().toStdString();

  ASSERT_EQ(server.Control("map dm/mohdm6"), "ok");
  ASSERT_EQ(server.Control("player remove bob"), "ok");
  ASSERT_EQ(server.Control("silent all off"), "ok");
  ASSERT_TRUE(WaitUntil([&] { return tray_->messages.size() >= 4; }, 15s));
  ASSERT_EQ(tray_->messages.size(), 4u);
  EXPECT_TRUE(tray_->messages[1].startsWith(QStringLiteral("Kestrova\nNotice Server answers again after ")))
      << tray_->messages[1].toStdString();
  EXPECT_TRUE(tray_->messages[1].endsWith(QStringLiteral(" s of silence"))) << tray_->messages[1].toStdString();
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
  ASSERT_TRUE(WaitUntil([&] { return Form().Label7->text() == QStringLiteral("mapname: dm/mohdm1"); }));
  ASSERT_EQ(server.Control("player add carl;0;0;50"), "ok");
  ASSERT_EQ(server.Control("map dm/mohdm2"), "ok");
  ASSERT_TRUE(WaitUntil([&] { return Form().Shown().RowCount() == 1; }));
  ASSERT_TRUE(WaitUntil([&] { return Form().Label7->text() == QStringLiteral("mapname: dm/mohdm2"); }));
  EXPECT_TRUE(tray_->messages.empty());
}

}  // namespace
}  // namespace kestrova::test
