// SPDX-License-Identifier: GPL-3.0-or-later
// START against the simulated server, and the cycle's failures as the
// window shows them.
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "core/caption_order.h"
#include "support/sim_server.h"
#include "support/udp_peer.h"
#include "ui/address_field.h"
#include "ui/integer_field.h"
#include "ui/player_list.h"
#include "ui/text_bytes.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

class MonitoringTest : public WindowTest {
 protected:
  std::vector<std::string> Captions() const {
    std::vector<std::string> captions;
    for (const PlayerRow& row : form_->Shown().Rows()) {
      captions.push_back(row.caption);
    }
    return captions;
  }

  // Every cell's text, row by row, as the player list shows it.
  std::vector<std::vector<std::string>> ShownRows() const {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < form_->ListView1->topLevelItemCount(); ++row) {
      std::vector<std::string> cells;
      for (int column = 0; column < 4; ++column) {
        cells.push_back(FromDisplayText(form_->ListView1->topLevelItem(row)->text(column)));
      }
      rows.push_back(cells);
    }
    return rows;
  }
};

bool HasToken(const TokenList& tokens, const std::string& token) {
  return std::find(tokens.begin(), tokens.end(), token) != tokens.end();
}

// On the program's own timer and clock.
TEST_F(MonitoringTest, StartFillsTheWindowAndKeepsMonitoring) {
  SimServer server({"--players", "8"});
  realTime_ = true;
  Open();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();

  ASSERT_TRUE(WaitUntil([&] { return Form().Shown().RowCount() > 0; }));
  EXPECT_FALSE(Form().Button1->isVisible());
  EXPECT_TRUE(Form().Timer1->Active());
  EXPECT_FALSE(Form().IPEdit->isEnabled());
  EXPECT_TRUE(Form().Label8->text().startsWith(QStringLiteral("hostname:  ")));
  EXPECT_TRUE(Form().Label7->text().startsWith(QStringLiteral("mapname: dm/")));
  EXPECT_EQ(Form().Label9->text(), QStringLiteral("protocol: 8"));
  EXPECT_TRUE(Form().Label10->text().startsWith(QStringLiteral("fraglimit: ")));
  EXPECT_FALSE(Form().Label15->text().isEmpty());
  // The reply lists hold the last replies' tokens.
  ASSERT_GT(Form().ListBox1.size(), 10u);
  EXPECT_EQ(Form().ListBox1.front(), "infoResponse");
  EXPECT_TRUE(HasToken(Form().ListBox1, "protocol"));
  EXPECT_TRUE(HasToken(Form().ListBox2, "player_7"));
  EXPECT_TRUE(HasToken(Form().ListBox2, "fraglimit"));

  const std::vector<std::string> captions = Captions();
  for (std::size_t i = 1; i < captions.size(); ++i) {
    EXPECT_LE(CompareCaptions(captions[i - 1], captions[i]), 0) << captions[i - 1] << " / " << captions[i];
  }
  for (const PlayerRow& row : Form().Shown().Rows()) {
    EXPECT_EQ(row.caption.front(), ' ');
    EXPECT_EQ(row.subItems.size(), 3u);
  }
  // The tray's tip follows the client count and the map.
  ASSERT_FALSE(tray_->tips.empty());
  EXPECT_TRUE(tray_->tips.back().contains(QStringLiteral("clients: ")));

  // Further cycles follow without input.
  const std::string requests = server.Control("requests");
  EXPECT_TRUE(WaitUntil([&] { return server.Control("requests") != requests; }, 3000ms));
}

TEST_F(MonitoringTest, ASilentServerEmptiesTheInfoListAndStillUpdatesTheTime) {
  SimServer server({"--players", "8", "--silent=all"});
  receiveTimeoutMs_ = 100;
  Open();
  PointAt(server.GamePort(), server.QueryPort());
  Form().Shown().ReplaceInfoList({"left from an earlier reply"});

  // The click's cycle waits in vain, handling the window's events every
  // 50 ms, the timer's ticks among them: none may start a cycle inside the
  // waiting one. The tick that fell due meanwhile comes as soon as the
  // cycle ends.
  QTimer::singleShot(0, &Form(), [this] {
    steady_.Advance(600ms);
    ticks_->Fire();
  });
  ClickStart();
  EXPECT_FALSE(Form().Label15->text().isEmpty());
  EXPECT_TRUE(Form().ListBox1.empty());
  EXPECT_EQ(Form().Label8->text(), QStringLiteral("hostname:"));
  EXPECT_EQ(Form().Label7->text(), QStringLiteral("mapname:"));
  EXPECT_EQ(Form().Shown().RowCount(), 0u);
  EXPECT_GE(Form().Cycle().IgnoredRuns(), 1);
  EXPECT_EQ(tray_->tips.size(), 1u);  // only the start-up hint
  EXPECT_TRUE(WaitUntil([&] { return server.Control("requests").starts_with("ok info 2 "); }));

  // Cycles go on, one after another.
  for (int i = 0; i < 3; ++i) {
    Form().Label15->clear();
    Tick();
    EXPECT_FALSE(Form().Label15->text().isEmpty()) << i;
  }
  EXPECT_FALSE(Form().Cycle().Running());
}

TEST_F(MonitoringTest, ABadGamePortSendsNothingAndKeepsTheTime) {
  UdpPeer server;
  Open();
  PointAt(server.Port(), server.Port());
  Form().Edit2->setText(QStringLiteral("12a"));
  ClickStart();
  Tick(2);
  EXPECT_FALSE(server.Receive(100).has_value());
  EXPECT_TRUE(Form().Label15->text().isEmpty());
  EXPECT_TRUE(Form().Timer1->Active());
  EXPECT_FALSE(Form().Button1->isVisible());
  EXPECT_TRUE(errors_.messages.empty());  // the cycle drops its failures silently
}

TEST_F(MonitoringTest, ABadQueryPortStillShowsTheInfoButNotTheTime) {
  SimServer server({"--players", "8"});
  Open();
  PointAt(server.GamePort(), server.QueryPort());
  Form().Edit3->setText(QStringLiteral("x"));
  ClickStart();
  ASSERT_TRUE(TickUntil([&] { return Form().Label9->text() == QStringLiteral("protocol: 8"); }));
  Tick(2);
  EXPECT_TRUE(Form().Label15->text().isEmpty());
  EXPECT_EQ(Form().Shown().RowCount(), 0u);
  EXPECT_TRUE(errors_.messages.empty());
}

TEST_F(MonitoringTest, AFailedStatusReceiveKeepsThePreviousRows) {
  SimServer server({"--players", "8"});
  Open();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  ASSERT_TRUE(TickUntil([&] { return Form().Shown().RowCount() > 0; }));
  const std::vector<std::string> before = Captions();

  // A status datagram longer than the receive buffer fails the receive.
  server.Control("oversize status on");
  Tick(4);
  EXPECT_EQ(Captions(), before);
  server.Control("map dm/mohdm4");
  ASSERT_TRUE(TickUntil([&] { return Form().Label7->text() == QStringLiteral("mapname: dm/mohdm4"); }));
  EXPECT_EQ(Captions(), before);
  // The time stays where the last cycle without failure left it.
  Form().Label15->clear();
  Tick(2);
  EXPECT_TRUE(Form().Label15->text().isEmpty());
}

// Cycle after cycle the list shows what the last reply lists, sorted, as
// if rebuilt from nothing, while only what changed is touched on screen.
TEST_F(MonitoringTest, EachCycleShowsTheLastRepliesRowsAndTouchesOnlyWhatChanged) {
  SimServer server;
  for (const char* player : {"player add alice;1;2;30", "player add Bob;3;4;40"}) {
    ASSERT_EQ(server.Control(player), "ok");
  }
  Open();
  PointAt(server.GamePort(), server.QueryPort());
  ClickStart();
  using Shown = std::vector<std::vector<std::string>>;
  ASSERT_TRUE(TickUntil([&] { return ShownRows() == Shown{{" alice", "1", "2", "30"}, {" Bob", "3", "4", "40"}}; }));

  QAbstractItemModel* model = Form().ListView1->model();
  QSignalSpy cells(model, &QAbstractItemModel::dataChanged);
  QSignalSpy inserted(model, &QAbstractItemModel::rowsInserted);
  QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
  QSignalSpy reset(model, &QAbstractItemModel::modelReset);
  // Replies like the last change nothing on screen.
  Tick(2);
  EXPECT_EQ(cells.count() + inserted.count() + removed.count() + reset.count(), 0);

  // While receives fail the rows stay; the changes made meanwhile then
  // come with one reply: alice's frags, and carl, who joins.
  ASSERT_EQ(server.Control("oversize status on"), "ok");
  for (const char* change : {"player remove alice", "player add alice;9;2;30", "player add carl;5;6;50"}) {
    ASSERT_EQ(server.Control(change), "ok");
  }
  ASSERT_EQ(server.Control("oversize status off"), "ok");
  const Shown expected{{" alice", "9", "2", "30"}, {" Bob", "3", "4", "40"}, {" carl", "5", "6", "50"}};
  ASSERT_TRUE(TickUntil([&] { return ShownRows() == expected; }));
  EXPECT_EQ(cells.count(), 1);
  EXPECT_EQ(inserted.count(), 1);
  EXPECT_EQ(removed.count() + reset.count(), 0);
  EXPECT_TRUE(HasToken(Form().ListBox2, "player_2"));

  // A status time-out empties the list and the status reply list.
  ASSERT_EQ(server.Control("silent status on"), "ok");
  ASSERT_TRUE(TickUntil([&] { return ShownRows().empty(); }));
  EXPECT_EQ(Form().Shown().RowCount(), 0u);
  EXPECT_TRUE(Form().ListBox2.empty());
  EXPECT_EQ(Form().ListBox1.front(), "infoResponse");
}

TEST_F(MonitoringTest, ASettingsFileThatCannotBeReadIsReportedAndTheWindowStillOpens) {
  WriteFileBytes(folder_ / "data.dat", "#\r\n#\r\n#\r\n\r\n# hostport\r\n1\r\n# outbondport\r\n2\r\n");
  Open();
  ASSERT_EQ(errors_.messages.size(), 1u);
  EXPECT_EQ(errors_.messages[0], "Invalid numeric input");
  EXPECT_TRUE(Form().isVisible());
  EXPECT_EQ(Form().Edit2->text(), QStringLiteral("12203"));
  EXPECT_EQ(Form().IPEdit->Address(), 0u);
}

TEST_F(MonitoringTest, TheSavedEndpointComesBackAtTheNextStart) {
  Open();
  Form().IPEdit->SetAddress(0xC0A80001);
  Form().Edit2->setText(QStringLiteral("27960"));
  QApplication::setActiveWindow(&Form());
  Form().Button1->setFocus();  // the focus entry saves, without a click
  ASSERT_TRUE(WaitUntil([&] { return !Form().Edit2->isEnabled(); }));
  EXPECT_TRUE(Form().Button1->isVisible());
  EXPECT_FALSE(Form().Timer1->Active());
  EXPECT_EQ(ReadFileBytes(folder_ / "data.dat"),
            "# This file should not be edited, it will be changed by program itself.\r\n#\r\n"
            "# IP address as a number 256^3*aaa+256^2*bbb+256^2*ccc+ddd\r\n3232235521\r\n# hostport\r\n27960\r\n"
            "# outbondport\r\n12300\r\n");
  form_.reset();
  Open();
  EXPECT_EQ(Form().IPEdit->Address(), 0xC0A80001u);
  EXPECT_EQ(Form().Edit2->text(), QStringLiteral("27960"));
  EXPECT_TRUE(Form().Edit2->isEnabled());
}

}  // namespace
}  // namespace kestrova::test
