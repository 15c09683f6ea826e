// SPDX-License-Identifier: GPL-3.0-or-later
// The window against a server that never answers, for SOAK_SECONDS (20 in
// `make test-slow`, 600 by default with `make soak`), while Enter is pressed
// in the console's command line every 0.7 s. Every receive then waits its
// full second and handles the window's events afterwards, so timer ticks
// and key presses keep arriving inside waits: cycles inside console
// commands, commands inside cycles, and commands inside commands.
#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "console/console_exchange.h"
#include "process_figures.h"
#include "support/udp_peer.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

using namespace std::chrono_literals;

int SoakSeconds() {
  const char* text = std::getenv("SOAK_SECONDS");
  return text != nullptr && std::atoi(text) > 0 ? std::atoi(text) : 20;
}

// Takes the requests on a thread of its own, counts them, never answers.
class SilentServer final {
 public:
  SilentServer()
      : thread_([this] {
          while (!stop_.load()) {
            if (const std::optional<std::string> request = peer_.Receive(100)) {
              ++(request->starts_with("\xFF\xFF\xFF\xFF\x02getinfo") ? infoRequests_ : consoleRequests_);
            }
          }
        }) {}
  ~SilentServer() {
    stop_ = true;
    thread_.join();
  }
  int Port() const { return peer_.Port(); }
  int InfoRequests() const { return infoRequests_.load(); }
  int ConsoleRequests() const { return consoleRequests_.load(); }

 private:
  UdpPeer peer_;
  std::atomic<bool> stop_{false};
  std::atomic<int> infoRequests_{0};
  std::atomic<int> consoleRequests_{0};
  std::thread thread_;
};

// On the system's clock and the window's own timer: what is measured is
// real time.
class SoakTest : public WindowTest {
 protected:
  SoakTest() { realTime_ = true; }
};

TEST_F(SoakTest, AgainstASilentServerNothingNestsNorGrows) {
  const int seconds = SoakSeconds();
  SilentServer server;
  Open();
  PointAt(server.Port(), server.Port());
  QTest::mouseClick(Form().CheckBox1, Qt::LeftButton);
  Form().Edit5->setText(QStringLiteral("rcon secret status"));  // each command leaves it in the line again
  Form().Edit4->setText(Form().Edit5->text());
  ClickStart();

  // Posted rather than sent, the presses are handled wherever the window
  // handles its events next: inside a wait as often as not.
  QTimer typing;
  typing.setInterval(700);
  int presses = 0;
  QObject::connect(&typing, &QTimer::timeout, &typing, [&] {
    QCoreApplication::postEvent(Form().Edit4, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier));
    ++presses;
  });
  typing.start();

  // The first seconds settle what the window keeps for good (fonts,
  // caches); the figures start after them.
  const int settle = std::min(5, seconds / 4);
  Pump(std::chrono::seconds(settle));
  const long startKib = ResidentKib();
  const double startCpu = CpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  Pump(std::chrono::seconds(seconds - settle));
  const double minutes = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 60;
  const long endKib = ResidentKib();
  const double cpuPerMinute = (CpuSeconds() - startCpu) / minutes;
  typing.stop();

  const int cycleNesting = Form().Cycle().DeepestNesting();
  const int consoleNesting = Form().Exchange().DeepestNesting();
  std::printf(
      "soak: %d s against a silent server; %d cycles and %d console commands sent, %d Enter presses; "
      "deepest nesting: cycles %d, console commands %d; resident %ld KiB at the start, %ld KiB at the end; "
      "CPU %.2f s per minute\n",
      seconds, server.InfoRequests(), server.ConsoleRequests(), presses, cycleNesting, consoleNesting, startKib, endKib,
      cpuPerMinute);
  EXPECT_EQ(cycleNesting, 1);
  EXPECT_EQ(consoleNesting, 1);
  // Presses came while a command waited, and were not run inside it.
  EXPECT_LT(server.ConsoleRequests(), presses);
  EXPECT_GT(server.InfoRequests(), seconds / 4);
  EXPECT_LT(std::labs(endKib - startKib), 2 * 1024);
  EXPECT_TRUE(errors_.messages.empty());
}

}  // namespace
}  // namespace kestrova::test
