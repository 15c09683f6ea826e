// SPDX-License-Identifier: GPL-3.0-or-later
// Runs one window program's window (build A or B) against the simulated
// server behind a lossy network for a while, on the platform Qt is given
// (offscreen, or a display), and prints what the loss must not cause, as
// one line for scripts/measure-lossy-network.sh:
//   figures: program P loss L seconds S cycles C joined/left J stops-answering A
//   records R short-records H half-rows W longest-status-pause-ms M
//   without-info-loss N info-lost I status-lost D paced 0|1
// Usage: lossy_network_figures standard|log LOSS_PERCENT SECONDS SEED
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QThread>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

#include "core/local_time.h"
#include "support/recording_errors.h"
#include "support/recording_tray.h"
#include "support/scripted_confirmation.h"
#include "support/sim_server.h"
#include "support/temp_dir.h"
#include "ui/address_field.h"
#include "ui/dialogs.h"
#include "ui/integer_field.h"
#include "ui/main_window.h"

namespace kestrova::bench {
namespace {

using Clock = std::chrono::steady_clock;
using test::ReadFileBytes;
using test::SimServer;
constexpr int kPlayers = 64;

// Watches the server's count of status requests from a thread of its own
// and keeps the longest time it stood still, from the first request on:
// of all pauses, and of those in which no info reply was lost (a tick whose
// info request went unanswered asks for no players, and waits a second).
class StatusPauses {
 public:
  explicit StatusPauses(SimServer& server)
      : thread_([this, &server] {
          long last = 0;
          long infoLostAtLast = 0;
          Clock::time_point lastAt{};
          while (!stop_.load()) {
            long status = 0;
            long infoLost = 0;
            std::sscanf(server.Control("requests").c_str(), "ok info %*d %*d rcon %*d %*d status %ld lost info %ld",
                        &status, &infoLost);
            const Clock::time_point now = Clock::now();
            if (status != last) {
              if (last != 0) {
                longest_ = std::max(longest_.load(), now - lastAt);
                if (infoLost == infoLostAtLast) {
                  longestWithoutInfoLoss_ = std::max(longestWithoutInfoLoss_.load(), now - lastAt);
                }
              }
              last = status;
              lastAt = now;
              infoLostAtLast = infoLost;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
          }
        }) {}
  ~StatusPauses() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) {
      thread_.join();
    }
  }
  static long Ms(Clock::duration span) { return std::chrono::duration_cast<std::chrono::milliseconds>(span).count(); }
  long LongestMs() const { return Ms(longest_.load()); }
  long LongestWithoutInfoLossMs() const { return Ms(longestWithoutInfoLoss_.load()); }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<Clock::duration> longest_{Clock::duration::zero()};
  std::atomic<Clock::duration> longestWithoutInfoLoss_{Clock::duration::zero()};
  std::thread thread_;
};

struct LogFigures {
  int records = 0;
  int shortRecords = 0;
  int halfRows = 0;
};

// Every record of the day files in `folder`: those with fewer rows than
// the server's players, and rows without their four fields.
LogFigures ReadLogs(const std::filesystem::path& folder) {
  LogFigures figures;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".csv") {
      continue;
    }
    const std::string bytes = ReadFileBytes(entry.path());
    int rows = -1;  // -1: between records
    std::size_t start = 0;
    for (std::size_t end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n", start)) {
      const std::string line = bytes.substr(start, end - start);
      start = end + 2;
      if (rows < 0) {
        rows = 0;
        ++figures.records;
      } else if (line.empty()) {
        figures.shortRecords += rows < kPlayers ? 1 : 0;
        rows = -1;
      } else {
        ++rows;
        figures.halfRows += std::count(line.begin(), line.end(), ';') == 4 ? 0 : 1;
      }
    }
    // A record cut off at the end of the file.
    figures.shortRecords += rows >= 0 || start != bytes.size() ? 1 : 0;
  }
  return figures;
}

int Run(BuildKind build, const std::string& loss, int seconds, const std::string& seed) {
  SimServer server({"--players", std::to_string(kPlayers), "--loss", loss + ":" + seed});
  test::TempDir folder;
  SystemClock clock;
  test::RecordingErrors errors;
  test::ScriptedConfirmation confirmation;
  const auto tray = std::make_shared<test::RecordingTray::Log>();
  TForm1 form(build,
              FormServices{errors, confirmation, clock, folder.Path(), std::make_unique<test::RecordingTray>(tray),
                           QString(), nullptr, std::make_unique<test::RecordingNotifier>(tray)});

  form.FormCreate();
  for (const char* name : {"NotifyPlayers1", "NotifyMap1"}) {
    form.findChild<QAction*>(QString::fromLatin1(name))->trigger();
  }
  form.IPEdit->SetAddress(0x7F000001);
  form.Edit2->setText(QString::number(server.GamePort()));
  form.Edit3->setText(QString::number(server.QueryPort()));
  if (build == BuildKind::Log) {
    form.JvIntegerEdit1->setText(QStringLiteral("1"));  // a record every second cycle
  }

  StatusPauses pauses(server);
  form.Button1->click();
  const Clock::time_point end = Clock::now() + std::chrono::seconds(seconds);
  while (Clock::now() < end) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  if (build == BuildKind::Log) {
    form.CheckBox2->setChecked(false);
  }
  pauses.Stop();

  // Each notification's text, without its title.
  std::vector<QString> messages;
  for (const QString& message : tray->messages) {
    messages.push_back(message.section(QLatin1Char('\n'), 1));
  }
  int joinedLeft = 0;
  int stopsAnswering = 0;
  for (const QString& message : messages) {
    joinedLeft += message.endsWith(QStringLiteral(" joined")) || message.endsWith(QStringLiteral(" left")) ? 1 : 0;
    stopsAnswering += message.contains(QStringLiteral(" stops answering: ")) ? 1 : 0;
  }
  long info = 0;
  long infoLost = 0;
  long statusLost = 0;
  std::sscanf(server.Control("requests").c_str(), "ok info %ld %*d rcon %*d %*d status %*d lost info %ld status %ld",
              &info, &infoLost, &statusLost);
  const LogFigures log = build == BuildKind::Log ? ReadLogs(folder.Path()) : LogFigures{};
  std::printf(
      "figures: program %s loss %s seconds %d cycles %ld joined/left %d stops-answering %d records %d "
      "short-records %d half-rows %d longest-status-pause-ms %ld without-info-loss %ld info-lost %ld status-lost %ld "
      "paced %d\n",
      build == BuildKind::Log ? "kestrova-log" : "kestrova", loss.c_str(), seconds, info, joinedLeft, stopsAnswering,
      log.records, log.shortRecords, log.halfRows, pauses.LongestMs(), pauses.LongestWithoutInfoLossMs(), infoLost,
      statusLost, form.Pacing().Paced() ? 1 : 0);
  for (const QString& message : messages) {
    std::printf("message: %s\n", message.toLocal8Bit().constData());
  }
  return 0;
}

}  // namespace
}  // namespace kestrova::bench

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 5 || (std::string(argv[1]) != "standard" && std::string(argv[1]) != "log")) {
    std::fprintf(stderr, "usage: %s standard|log LOSS_PERCENT SECONDS SEED\n", argv[0]);
    return 2;
  }
  const kestrova::BuildKind build =
      std::string(argv[1]) == "log" ? kestrova::BuildKind::Log : kestrova::BuildKind::Standard;
  try {
    return kestrova::bench::Run(build, argv[2], std::atoi(argv[3]), argv[4]);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "%s: %s\n", argv[0], failure.what());
    return 1;
  }
}
