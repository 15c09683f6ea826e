// SPDX-License-Identifier: GPL-3.0-or-later
// The windows against a simulated server behind a network that loses reply
// datagrams: what they show, tell and log is never made of a partial reply
// (a list shown short even once would make the players it lacks "leave").
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <optional>

#include "support/sim_server.h"
#include "ui/player_list.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr std::size_t kPlayers = 64;

// The simulated server's requests of each kind and the datagrams its
// network lost, from the "requests" control line.
std::array<long, 4> InfoStatusAndLost(SimServer& server) {
  std::array<long, 4> counts{};
  const std::string line = server.Control("requests");
  EXPECT_EQ(std::sscanf(line.c_str(), "ok info %ld %*d rcon %*d %*d status %ld lost info %ld status %ld", &counts[0],
                        &counts[1], &counts[2], &counts[3]),
            4)
      << line;
  return counts;
}

class LossyNetworkTest : public WindowTest {
 protected:
  // Opens `build` against a server with `options`, every notification kind
  // on.
  void OpenFast(BuildKind build, std::vector<std::string> options) {
    options.insert(options.end(), {"--players", std::to_string(kPlayers), "--maxclients", "80"});
    server_.emplace(options);
    Open(build);
    for (const char* name : {"NotifyMap1", "NotifyPlayers1", "NotifyFull1"}) {
      Form().findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    PointAt(server_->GamePort(), server_->QueryPort());
  }

  std::vector<QString> PlayerMessages() const {
    std::vector<QString> found;
    std::copy_if(tray_->messages.begin(), tray_->messages.end(), std::back_inserter(found), [](const QString& text) {
      return text.endsWith(QStringLiteral(" joined")) || text.endsWith(QStringLiteral(" left"));
    });
    return found;
  }

  std::optional<SimServer> server_;
};

// One part lost in every third reply: the retry's reply fills the list. A
// part lost in every reply, the retry's too: the list, its limits and the
// log keep the last whole list, and the player who joined meanwhile is
// told only once a whole list shows him.
TEST_F(LossyNetworkTest, APartLostInEveryThirdReplyNeverShowsOrLogsAPartialList) {
  OpenFast(BuildKind::Log, {"--drop-part=status:2:3"});
  Form().JvIntegerEdit1->setText(QStringLiteral("1"));  // a record every second cycle
  ClickStart();
  ASSERT_TRUE(TickUntil([&] { return Form().Log()->Counter() >= 30; }, 40));
  const auto [info, status, infoLost, statusLost] = InfoStatusAndLost(*server_);
  // Every third reply was asked for once more.
  EXPECT_GE(status, info + info / 4);

  ASSERT_EQ(server_->Control("droppart status 2"), "ok");
  ASSERT_EQ(server_->Control("player add Newcomer;0;0;50"), "ok");
  const std::uint16_t counter = Form().Log()->Counter();
  ASSERT_TRUE(TickUntil([&] { return Form().Log()->Counter() >= counter + 10; }));
  EXPECT_EQ(Form().Shown().RowCount(), kPlayers);
  EXPECT_TRUE(PlayerMessages().empty());
  ASSERT_EQ(server_->Control("droppart status 0"), "ok");
  ASSERT_TRUE(TickUntil([&] { return Form().Shown().RowCount() == kPlayers + 1; }));
  Form().CheckBox2->setChecked(false);

  EXPECT_EQ(Form().Label10->text(), QStringLiteral("fraglimit: 0"));
  EXPECT_EQ(Form().Label11->text(), QStringLiteral("timelimit: 20"));
  EXPECT_EQ(PlayerMessages(), std::vector<QString>{QStringLiteral("Kestrova\nKestrova Test Server: Newcomer joined")});
  // Each record: its time stamp, at least the 64 players with their four
  // fields, an empty line.
  int records = 0;
  for (const auto& file : std::filesystem::directory_iterator(folder_.Path())) {
    const std::string bytes = file.path().extension() == ".csv" ? ReadFileBytes(file.path()) : "";
    for (std::size_t at = 0; at < bytes.size(); ++records) {
      const std::size_t end = bytes.find("\r\n\r\n", at);
      ASSERT_NE(end, std::string::npos) << "a record without its end";
      const std::string record = bytes.substr(at, end + 2 - at);
      const auto rows = std::count(record.begin(), record.end(), '\n') - 1;
      EXPECT_GE(rows, static_cast<long>(kPlayers)) << record;
      EXPECT_EQ(std::count(record.begin(), record.end(), ';'), rows * 4) << record;
      at = end + 4;
    }
  }
  EXPECT_GE(records, 20);
}

// 120 cycles (a minute of ticks) at 1 % loss, the same datagrams lost every
// run: only the player who really came and went is told, no silence is
// told, and the lost info replies do not pace a server without a limit.
TEST_F(LossyNetworkTest, OnePercentLossTellsOnlyTheRealJoinAndLeave) {
  OpenFast(BuildKind::Standard, {"--loss=1:11"});
  ClickStart();
  Tick(39);
  ASSERT_EQ(server_->Control("player add Visitor;0;0;50"), "ok");
  Tick(40);
  ASSERT_EQ(server_->Control("player remove Visitor"), "ok");
  Tick(40);
  const auto [info, status, infoLost, statusLost] = InfoStatusAndLost(*server_);

  EXPECT_GE(infoLost, 1);
  EXPECT_GE(statusLost, 2);
  EXPECT_EQ(tray_->messages, (std::vector<QString>{QStringLiteral("Kestrova\nKestrova Test Server: Visitor joined"),
                                                   QStringLiteral("Kestrova\nKestrova Test Server: Visitor left")}));
  EXPECT_FALSE(Form().Pacing().Paced());
  EXPECT_EQ(Form().Shown().RowCount(), kPlayers);
}

}  // namespace
}  // namespace kestrova::test
