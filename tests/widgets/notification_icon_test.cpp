// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon and the minimise hook, against a notification area that
// records what it is asked to do (a headless machine has no real one).
#include "ui/notification_icon.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QWidget>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "support/recording_tray.h"
#include "ui/minimize_watcher.h"

namespace kestrova::test {
namespace {

QIcon SomeIcon() {
  QPixmap image(32, 32);
  image.fill(Qt::red);
  return QIcon(image);
}

class NotificationIconTest : public ::testing::Test {
 protected:
  // Makes the icon; `configure` sets up the recorder before the first add.
  template <typename Configure>
  void MakeIcon(Configure configure) {
    auto backend = std::make_unique<RecordingTray>(log_);
    tray_ = backend.get();
    configure(*tray_);
    icon_ = std::make_unique<TNotificationIcon>(nullptr, std::move(backend), SomeIcon());
  }
  void MakeIcon() {
    MakeIcon([](RecordingTray&) {});
  }
  // The calls made since the last look.
  std::vector<std::string> TakeCalls() {
    std::vector<std::string> calls;
    calls.swap(log_->calls);
    return calls;
  }

  std::shared_ptr<RecordingTray::Log> log_ = std::make_shared<RecordingTray::Log>();
  RecordingTray* tray_ = nullptr;
  std::unique_ptr<TNotificationIcon> icon_;
};

using Calls = std::vector<std::string>;

struct TipCase {
  const char* rule;
  std::string hint;
  std::string tip;  // UTF-8 of the expected tip
};

void PrintTo(const TipCase& tipCase, std::ostream* out) { *out << tipCase.rule; }

class TipTextTest : public ::testing::TestWithParam<TipCase> {};

TEST_P(TipTextTest, ShowsTheShortPartOfTheHint) {
  EXPECT_EQ(TNotificationIcon::TipText(GetParam().hint).toStdString(), GetParam().tip) << GetParam().rule;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TipTextTest,
    ::testing::Values(
        TipCase{"no bar: the whole hint", "Kestrova", "Kestrova"},
        TipCase{"the text before the first bar", "short|long|longer", "short"},
        TipCase{"a leading bar leaves nothing", "|long", ""}, TipCase{"empty hint", "", ""},
        TipCase{"exactly 127 characters are kept", std::string(127, 'x'), std::string(127, 'x')},
        TipCase{"200 characters are cut to 127", std::string(127, 'a') + std::string(73, 'b'), std::string(127, 'a')},
        TipCase{"a bar after the cut does not matter", std::string(130, 'c') + "|d", std::string(127, 'c')},
        TipCase{"LF CR separators become line breaks", "Kestrova\n\rclients: 3\n\rmap: q3dm17",
                "Kestrova\nclients: 3\nmap: q3dm17"},
        TipCase{"high bytes are Latin-1 characters", "caf\xE9 \xFF\x80", "caf\u00E9 \u00FF\u0080"}));

TEST(TipText, EveryHighByteReachesTheTipAsItsOwnCharacter) {
  std::string hint;
  for (int byte = 0x80; byte <= 0xFF; ++byte) hint.push_back(static_cast<char>(byte));
  const QString tip = TNotificationIcon::TipText(hint);
  ASSERT_EQ(tip.size(), 127);  // 128 bytes, cut to 127
  for (int index = 0; index < tip.size(); ++index) EXPECT_EQ(tip.at(index).unicode(), 0x80 + index);
}

TEST_F(NotificationIconTest, IsAddedAtCreationWithTheProgramNameAndRemovedAtDestruction) {
  MakeIcon();
  EXPECT_EQ(TakeCalls(), (Calls{"Show:Kestrova"}));
  EXPECT_TRUE(icon_->Present());
  EXPECT_EQ(icon_->Hint(), "Kestrova");
  icon_.reset();
  EXPECT_EQ(TakeCalls(), (Calls{"Hide"}));
}

TEST_F(NotificationIconTest, OnlyAChangedHintReachesTheNotificationArea) {
  MakeIcon();
  TakeCalls();
  icon_->SetHint("Kestrova");
  EXPECT_EQ(TakeCalls(), Calls{}) << "the initial hint again";
  icon_->SetHint("Kestrova\n\rclients: 2\n\rmap: q3dm1");
  icon_->SetHint("Kestrova\n\rclients: 2\n\rmap: q3dm1");
  EXPECT_EQ(TakeCalls(), (Calls{"SetToolTip:Kestrova\nclients: 2\nmap: q3dm1"}));
  icon_->SetHint("Kestrova\n\rclients: 3\n\rmap: q3dm1");
  EXPECT_EQ(TakeCalls(), (Calls{"SetToolTip:Kestrova\nclients: 3\nmap: q3dm1"}));
  EXPECT_EQ(icon_->Hint(), "Kestrova\n\rclients: 3\n\rmap: q3dm1") << "the stored hint keeps its bytes";
}

TEST_F(NotificationIconTest, ATipNoteShowsBelowTheHintWhichKeepsItsText) {
  MakeIcon();
  TakeCalls();
  icon_->SetTipNote(QStringLiteral("paced"));
  icon_->SetTipNote(QStringLiteral("paced"));
  icon_->SetHint("Kestrova\n\rclients: 2|more");
  icon_->SetTipNote(QString());
  EXPECT_EQ(TakeCalls(), (Calls{"SetToolTip:Kestrova\npaced", "SetToolTip:Kestrova\nclients: 2\npaced",
                                "SetToolTip:Kestrova\nclients: 2"}));
  EXPECT_EQ(icon_->Hint(), "Kestrova\n\rclients: 2|more");
}

TEST_F(NotificationIconTest, ComparesWholeHintsNotTips) {
  MakeIcon();
  icon_->SetHint("same|one");
  TakeCalls();
  icon_->SetHint("same|two");
  EXPECT_EQ(TakeCalls(), (Calls{"SetToolTip:same"}));
  icon_->SetHint("Same|two");
  EXPECT_EQ(TakeCalls(), (Calls{"SetToolTip:Same"})) << "case counts";
}

TEST_F(NotificationIconTest, AnAbsentIconIsAddedAgainOnTheNextHintChange) {
  MakeIcon([](RecordingTray& tray) { tray.addSucceeds = false; });
  EXPECT_FALSE(icon_->Present());
  TakeCalls();
  icon_->SetHint("Kestrova");
  EXPECT_EQ(TakeCalls(), Calls{}) << "an equal hint does not retry";
  icon_->SetHint("first|x");
  EXPECT_EQ(TakeCalls(), (Calls{"Show:first"})) << "still failing";
  EXPECT_FALSE(icon_->Present());
  tray_->addSucceeds = true;
  icon_->SetHint("second");
  EXPECT_EQ(TakeCalls(), (Calls{"Show:second"}));
  EXPECT_TRUE(icon_->Present());
  icon_->SetHint("third");
  EXPECT_EQ(TakeCalls(), (Calls{"SetToolTip:third"}));
}

TEST_F(NotificationIconTest, MessagesGoOutOnlyWhereTheAreaCanShowThem) {
  struct Case {
    const char* what;
    bool addSucceeds;
    bool messages;
    Calls calls;
    bool shown;
  };
  const Case cases[] = {
      {"present, messages shown", true, true, {"Message:Kestrova:Server stops answering"}, true},
      {"present, no messages", true, false, {"Message:Kestrova:Server stops answering"}, false},
      {"absent: nothing is asked", false, true, {}, false},
  };
  for (const Case& c : cases) {
    MakeIcon([&](RecordingTray& tray) {
      tray.addSucceeds = c.addSucceeds;
      tray.showsMessages = c.messages;
    });
    TakeCalls();
    EXPECT_EQ(icon_->ShowMessage(QStringLiteral("Kestrova"), QStringLiteral("Server stops answering")), c.shown)
        << c.what;
    EXPECT_EQ(TakeCalls(), c.calls) << c.what;
    icon_.reset();
  }
}

TEST_F(NotificationIconTest, ClicksRaiseTheirSignals) {
  MakeIcon();
  QSignalSpy clicks(icon_.get(), &TNotificationIcon::OnClick);
  QSignalSpy doubleClicks(icon_.get(), &TNotificationIcon::OnDblClick);

  tray_->Click(TrayClick::Left);
  EXPECT_EQ(clicks.count(), 1);
  EXPECT_EQ(doubleClicks.count(), 0);

  // A double-click arrives as the first press's click, then the double-click.
  tray_->Click(TrayClick::Left);
  tray_->Click(TrayClick::Double);
  EXPECT_EQ(clicks.count(), 2);
  EXPECT_EQ(doubleClicks.count(), 1);

  tray_->Click(TrayClick::Right);
  EXPECT_EQ(clicks.count(), 2) << "a right click only opens the menu";
  EXPECT_EQ(doubleClicks.count(), 1);
}

TEST_F(NotificationIconTest, DoubleClickRunsTheMenuDefaultActionWhenEnabled) {
  MakeIcon();
  QMenu menu;
  QAction* exit = menu.addAction(QStringLiteral("Exit Kestrova"));
  icon_->SetPopupMenu(&menu);
  EXPECT_EQ(tray_->menu, &menu) << "the area opens it on a right click";
  QSignalSpy triggered(exit, &QAction::triggered);
  QSignalSpy doubleClicks(icon_.get(), &TNotificationIcon::OnDblClick);

  tray_->Click(TrayClick::Double);
  EXPECT_EQ(triggered.count(), 0) << "not the default item";
  EXPECT_EQ(doubleClicks.count(), 1);

  menu.setDefaultAction(exit);
  tray_->Click(TrayClick::Double);
  EXPECT_EQ(triggered.count(), 1);
  EXPECT_EQ(doubleClicks.count(), 1);

  exit->setEnabled(false);
  tray_->Click(TrayClick::Double);
  EXPECT_EQ(triggered.count(), 1);
  EXPECT_EQ(doubleClicks.count(), 2) << "a disabled default item does not count";
}

// The main window's part: minimising goes to the tray when there is one.
class MinimizeToTrayTest : public NotificationIconTest {
 protected:
  void SetUp() override {
    window_.resize(200, 100);
    window_.show();
  }
  void Minimize() { window_.setWindowState(window_.windowState() | Qt::WindowMinimized); }

  QWidget window_;
};

TEST_F(MinimizeToTrayTest, WatcherReportsEachTurnToMinimised) {
  int minimised = 0;
  new MinimizeWatcher(&window_, [&] { ++minimised; });
  window_.setWindowState(Qt::WindowMaximized);
  EXPECT_EQ(minimised, 0);
  Minimize();
  EXPECT_EQ(minimised, 1);
  Minimize();
  EXPECT_EQ(minimised, 1) << "staying minimised is no new minimise";
  window_.setWindowState(Qt::WindowNoState);
  EXPECT_EQ(minimised, 1);
  Minimize();
  EXPECT_EQ(minimised, 2);
}

TEST_F(MinimizeToTrayTest, MinimisingHidesTheWindowWhileTheIconIsPresent) {
  MakeIcon();
  new MinimizeWatcher(&window_, [this] { icon_->HideMainForm(&window_); });
  Minimize();
  EXPECT_FALSE(window_.isVisible());
  EXPECT_TRUE(icon_->Present());
}

TEST_F(MinimizeToTrayTest, WithoutANotificationAreaMinimisingStaysAnOrdinaryMinimise) {
  MakeIcon([](RecordingTray& tray) { tray.available = false; });
  Minimize();
  EXPECT_FALSE(icon_->HideMainForm(&window_));
  EXPECT_TRUE(window_.isVisible());
  EXPECT_TRUE(window_.isMinimized());
}

TEST_F(MinimizeToTrayTest, AFailedAddKeepsTheWindowOnTheTaskbar) {
  MakeIcon([](RecordingTray& tray) { tray.addSucceeds = false; });
  TakeCalls();
  Minimize();
  EXPECT_FALSE(icon_->HideMainForm(&window_));
  EXPECT_EQ(TakeCalls(), (Calls{"Show:Kestrova"})) << "one more try to add";
  EXPECT_TRUE(window_.isVisible());
}

TEST_F(MinimizeToTrayTest, ANotificationAreaThatWentAwayKeepsTheWindowOnTheTaskbar) {
  MakeIcon();
  tray_->available = false;
  Minimize();
  EXPECT_FALSE(icon_->HideMainForm(&window_));
  EXPECT_TRUE(window_.isVisible());
}

TEST_F(MinimizeToTrayTest, AnAreaThatAppearedLaterTakesTheIconAtTheNextMinimise) {
  MakeIcon([](RecordingTray& tray) { tray.available = false; });
  TakeCalls();
  tray_->available = true;
  Minimize();
  EXPECT_TRUE(icon_->HideMainForm(&window_));
  EXPECT_EQ(TakeCalls(), (Calls{"Show:Kestrova"}));
  EXPECT_FALSE(window_.isVisible());
}

TEST_F(MinimizeToTrayTest, AnAreaThatComesLaterHoldsTheWindowAndOneThatGoesGivesItBackMinimised) {
  MakeIcon([](RecordingTray& tray) {
    tray.available = false;
    tray.addSucceeds = false;
  });
  tray_->Presence(true);
  EXPECT_TRUE(icon_->Present());
  Minimize();
  ASSERT_TRUE(icon_->HideMainForm(&window_));
  tray_->Presence(false);
  EXPECT_FALSE(icon_->Present());
  EXPECT_TRUE(window_.isVisible()) << "a window hidden in a tray that went away stays reachable";
  EXPECT_TRUE(window_.isMinimized());
}

TEST_F(MinimizeToTrayTest, RestoreBringsBackAWindowHiddenInTheTray) {
  MakeIcon();
  Minimize();
  ASSERT_TRUE(icon_->HideMainForm(&window_));
  TNotificationIcon::RestoreMainForm(&window_);
  EXPECT_TRUE(window_.isVisible());
  EXPECT_FALSE(window_.isMinimized());
}

TEST_F(MinimizeToTrayTest, RestoreKeepsAMaximisedWindowMaximised) {
  window_.setWindowState(Qt::WindowMaximized);
  Minimize();
  window_.hide();
  TNotificationIcon::RestoreMainForm(&window_);
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(window_.windowState() & (Qt::WindowMinimized | Qt::WindowMaximized), Qt::WindowMaximized);
}

TEST_F(MinimizeToTrayTest, RestoreLeavesAShownWindowAsItIs) {
  window_.move(30, 40);
  const QRect before = window_.geometry();
  TNotificationIcon::RestoreMainForm(&window_);
  EXPECT_TRUE(window_.isVisible());
  EXPECT_EQ(window_.windowState() & Qt::WindowMinimized, Qt::WindowNoState);
  EXPECT_EQ(window_.geometry(), before);
}

}  // namespace
}  // namespace kestrova::test
