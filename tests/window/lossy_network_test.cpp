// The windows against a simulated server behind a network that loses reply
// datagrams: what they show, tell and log is never made of a partial reply.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "support/sim_server.h"
#include "ui/player_list.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr int kPlayers = 64;

// The simulated server's count of requests and of the datagrams its
// network lost ("requests" control line).
struct Tally {
  long info = 0;
  long status = 0;
  long infoLost = 0;
  long statusLost = 0;
};

Tally ReadTally(SimServer& server) {
  const std::string line = server.Control("requests");
  Tally tally;
  EXPECT_EQ(std::sscanf(line.c_str(), "ok info %ld %*d rcon %*d %*d status %ld lost info %ld status %ld", &tally.info,
                        &tally.status, &tally.infoLost, &tally.statusLost),
            4)
      << line;
  return tally;
}

// Looks at the player list every few milliseconds, as a user would, and
// keeps the fewest rows (once it first showed some) and the shortest row
// seen.
class ListWatch {
 public:
  explicit ListWatch(const PlayerList& list) {
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this, &list] {
      const std::vector<PlayerRow> rows = list.Rows();
      if (rows.empty() && fewestRows == SIZE_MAX) {
        return;
      }
      fewestRows = std::min(fewestRows, rows.size());
      for (const PlayerRow& row : rows) {
        shortestRow = std::min(shortestRow, row.subItems.size());
      }
    });
    timer_.start(5);
  }

  std::size_t fewestRows = SIZE_MAX;
  std::size_t shortestRow = SIZE_MAX;

 private:
  QTimer timer_;
};

// The player counts of the records in a log file, and whether every row
// has its four fields.
struct LogFigures {
  std::vector<std::size_t> rowsPerRecord;
  bool everyRowWhole = true;
};

// The records of every day file in `folder` (a run across midnight has two).
LogFigures ReadLogs(const std::filesystem::path& folder) {
  std::string bytes;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() == ".csv") {
      bytes += ReadFileBytes(entry.path());
    }
  }
  LogFigures figures;
  std::size_t start = 0;
  bool inRecord = false;
  for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
    const std::string line = bytes.substr(start, end - start);
    start = end + 2;
    if (!inRecord) {
      figures.rowsPerRecord.push_back(0);
      inRecord = true;
    } else if (line.empty()) {
      inRecord = false;
    } else {
      ++figures.rowsPerRecord.back();
      figures.everyRowWhole = figures.everyRowWhole && std::count(line.begin(), line.end(), ';') == 4;
    }
  }
  figures.everyRowWhole = figures.everyRowWhole && start == bytes.size() && !inRecord;
  return figures;
}

class LossyNetworkTest : public WindowTest {
 protected:
  // Opens `build`, every notification kind on, the cycle's tick shortened
  // so that many cycles run in a few seconds.
  void OpenFast(BuildKind build, const SimServer& server) {
    Open(build);
    for (const char* name : {"NotifyMap1", "NotifyPlayers1", "NotifyFull1"}) {
      Form().findChild<QAction*>(QString::fromLatin1(name))->trigger();
    }
    PointAt(server.GamePort(), server.QueryPort());
    Form().Timer1->setInterval(20);
  }

  // Messages about players, as "joined"/"left" texts.
  std::vector<QString> PlayerMessages() const {
    std::vector<QString> found;
    for (const QString& message : tray_->messages) {
      if (message.endsWith(QStringLiteral(" joined")) || message.endsWith(QStringLiteral(" left"))) {
        found.push_back(message);
      }
    }
    return found;
  }
};

// One part lost in every third reply: the retry's reply fills the list. A
// part lost in every reply, the retry's too: the list, its limits and the
// log keep the last whole list, and no player is told to have left.
TEST_F(LossyNetworkTest, APartLostInEveryThirdReplyNeverShowsOrLogsAPartialList) {
  SimServer server({"--players", std::to_string(kPlayers), "--maxclients", "80", "--drop-part=status:2:3"});
  OpenFast(BuildKind::Log, server);
  Form().JvIntegerEdit1->setText(QStringLiteral("1"));  // a record every second cycle
  ListWatch watch(*Form().ListView1);
  ClickStart();
  ASSERT_TRUE(WaitUntil([&] { return Form().Log()->Counter() >= 30; }, 30s));
  const Tally thirds = ReadTally(server);

  ASSERT_EQ(server.Control("droppart status 2"), "ok");
  ASSERT_EQ(server.Control("player add Newcomer;0;0;50"), "ok");
  const std::uint16_t counter = Form().Log()->Counter();
  ASSERT_TRUE(WaitUntil([&] { return Form().Log()->Counter() >= counter + 10; }, 30s));
  EXPECT_EQ(Form().ListView1->RowCount(), kPlayers);
  EXPECT_TRUE(PlayerMessages().empty());

  ASSERT_EQ(server.Control("droppart status 0"), "ok");
  ASSERT_TRUE(WaitUntil([&] { return Form().ListView1->RowCount() == kPlayers + 1; }, 10s));
  Form().CheckBox2->setChecked(false);

  // Every third reply asked for once more.
  EXPECT_GE(thirds.status, thirds.info + thirds.info / 4);
  EXPECT_EQ(watch.fewestRows, static_cast<std::size_t>(kPlayers));
  EXPECT_EQ(watch.shortestRow, 3u);
  EXPECT_EQ(Form().Label10->text(), QStringLiteral("fraglimit: 0"));
  EXPECT_EQ(Form().Label11->text(), QStringLiteral("timelimit: 20"));
  const LogFigures log = ReadLogs(folder_.Path());
  ASSERT_GE(log.rowsPerRecord.size(), 20u);
  EXPECT_TRUE(log.everyRowWhole);
  for (const std::size_t rows : log.rowsPerRecord) {
    EXPECT_GE(rows, static_cast<std::size_t>(kPlayers));
  }
  EXPECT_EQ(PlayerMessages(), std::vector<QString>{QStringLiteral("Kestrova\nKestrova Test Server: Newcomer joined")});
}

// A lossy network for the span of 120 cycles at 1 % (a minute of the
// window's ticks; the datagrams lost are the same every run): no player
// is told to come or go but the one who did, no silence is told, and the
// lost info replies do not pace a server that has no limit.
TEST_F(LossyNetworkTest, OnePercentLossTellsOnlyTheRealJoinAndLeave) {
  SimServer server({"--players", std::to_string(kPlayers), "--maxclients", "80", "--loss=1:11"});
  OpenFast(BuildKind::Standard, server);
  ListWatch watch(*Form().ListView1);
  ClickStart();
  const auto cycles = [&](long count) { return [&server, count] { return ReadTally(server).info >= count; }; };
  ASSERT_TRUE(WaitUntil(cycles(40), 30s));
  ASSERT_EQ(server.Control("player add Visitor;0;0;50"), "ok");
  ASSERT_TRUE(WaitUntil(cycles(80), 30s));
  ASSERT_EQ(server.Control("player remove Visitor"), "ok");
  ASSERT_TRUE(WaitUntil(cycles(120), 30s));
  const Tally tally = ReadTally(server);

  EXPECT_GE(tally.infoLost, 1);
  EXPECT_GE(tally.statusLost, 2);
  EXPECT_EQ(PlayerMessages(), (std::vector<QString>{QStringLiteral("Kestrova\nKestrova Test Server: Visitor joined"),
                                                    QStringLiteral("Kestrova\nKestrova Test Server: Visitor left")}));
  EXPECT_EQ(tray_->messages.size(), 2u);
  EXPECT_FALSE(Form().Pacing().Paced());
  EXPECT_TRUE(Form().Label15->toolTip().isEmpty());
  EXPECT_GE(watch.fewestRows, static_cast<std::size_t>(kPlayers));
  EXPECT_EQ(watch.shortestRow, 3u);
}

}  // namespace
}  // namespace kestrova::test
