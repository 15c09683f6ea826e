// SPDX-License-Identifier: GPL-3.0-or-later
// The real window monitoring the simulated server while anyone who can
// reach its ports floods them with datagrams.
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "flood_rig.h"
#include "process_figures.h"
#include "support/sim_server.h"
#include "ui/console_list.h"
#include "ui/player_list.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

constexpr int kFloodDatagrams = 100000;
constexpr int kDatagramsPerSecond = 10000;

// What the window shows of the server: the eleven labels and the rows.
struct Shown {
  std::vector<QString> labels;
  std::vector<PlayerRow> rows;
  bool operator==(const Shown&) const = default;
};

Shown ShownBy(TForm1& form) {
  Shown shown;
  for (QLabel* label : {form.Label1, form.Label2, form.Label3, form.Label4, form.Label5, form.Label6, form.Label7,
                        form.Label8, form.Label9, form.Label10, form.Label11}) {
    shown.labels.push_back(label->text());
  }
  shown.rows = form.Shown().Rows();
  return shown;
}

// Notes the longest time between two handlings of a 50 ms timer: while the
// window handles its events, that stays near 50 ms.
class EventGaps final {
 public:
  EventGaps() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(50);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      longestMs_ = std::max(longestMs_, clock_.restart());
      peakKib_ = std::max(peakKib_, ResidentKib());
    });
    clock_.start();
    timer_.start();
  }
  qint64 LongestMs() const { return longestMs_; }
  long PeakKib() const { return peakKib_; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 longestMs_ = 0;
  long peakKib_ = 0;
};

// On the system's clock and the window's own timer: what is measured is
// real time.
class FloodTest : public WindowTest {
 protected:
  FloodTest() { realTime_ = true; }
};

TEST_F(FloodTest, TheWindowOutlastsAFloodAndShowsTheServerAgainWithinTwoCycles) {
  SimServer server({"--players", "8"});
  FloodRig rig(server.GamePort(), server.QueryPort());
  Open();
  PointAt(rig.GamePort(), rig.QueryPort());
  ClickStart();
  // One console command, so that the rig learns the console's port too.
  QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);
  Form().Edit4->setText(QStringLiteral("rcon secret status"));
  QTest::keyClick(Form().Edit4, Qt::Key_Return);
  ASSERT_TRUE(WaitUntil([&] { return rig.PortsKnown() && Form().Shown().RowCount() == 8; }, 10s));
  Pump(1200ms);
  const Shown real = ShownBy(Form());
  ASSERT_TRUE(real.labels[7].startsWith(QStringLiteral("hostname:  Kestrova Test Server")));

  rig.BuildFlood();
  Pump(600ms);
  const long before = ResidentKib();
  EventGaps gaps;
  rig.StartFlood(kFloodDatagrams, kDatagramsPerSecond);
  ASSERT_TRUE(WaitUntil([&] { return rig.FloodDone(); }, 120s)) << rig.Sent() << " sent";

  // From here on every cycle that runs is counted; the one that ends with
  // the real server on show must be the first or the second.
  int cycles = 0;
  int ignored = Form().Cycle().IgnoredRuns();
  std::optional<int> shownAfter;
  QObject::connect(Form().Timer1, &TickSource::Tick, &Form(), [&] {
    if (Form().Cycle().IgnoredRuns() != ignored) {
      ignored = Form().Cycle().IgnoredRuns();
      return;
    }
    ++cycles;
    if (!shownAfter && ShownBy(Form()) == real) {
      shownAfter = cycles;
    }
  });
  EXPECT_TRUE(WaitUntil([&] { return shownAfter.has_value(); }, 20s)) << "not shown after " << cycles << " cycles";

  // The console was flooded too: its next command shows the server's
  // answer, not what the flood left.
  const int linesBefore = Form().ListBox3->count();
  Form().Edit4->setText(QStringLiteral("rcon secret status"));
  QTest::keyClick(Form().Edit4, Qt::Key_Return);
  const int linesAdded = Form().ListBox3->count() - linesBefore;
  EXPECT_GE(linesAdded, 10);
  EXPECT_LE(linesAdded, 20);
  Pump(1000ms);
  const long after = ResidentKib();

  std::printf(
      "flood: %d datagrams in %.1f s; longest event gap %lld ms; resident %ld KiB before, %ld KiB after "
      "(peak %ld KiB); real server shown after %d cycle(s); the next console command added %d lines\n",
      rig.Sent(), rig.FloodSeconds(), static_cast<long long>(gaps.LongestMs()), before, after, gaps.PeakKib(),
      shownAfter.value_or(-1), linesAdded);
  EXPECT_LE(shownAfter.value_or(99), 2);
  EXPECT_EQ(ShownBy(Form()), real);
  EXPECT_LT(after - before, 5 * 1024);
  EXPECT_LE(gaps.LongestMs(), 1500);
  EXPECT_EQ(errors_.messages, std::vector<std::string>{});
}

}  // namespace
}  // namespace kestrova::test
