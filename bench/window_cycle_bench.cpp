// SPDX-License-Identifier: GPL-3.0-or-later
// One query cycle of the real window, as a tick of its timer runs it:
// the info and status queries over loopback to an in-process server, the
// labels, tray hint, reply lists and player list brought up to date, and
// the window repainted on Qt's offscreen platform. Measured with 32 and 64
// players, with every reply differing from the one before (every ping,
// one frag and one death, as a live server's replies change from second
// to second) and with replies that never change.
//
// CPU time is the benchmark thread's: the client's work, not the
// responder's. For instruction counts, run it under
//   valgrind --tool=callgrind --toggle-collect='*RunOneCycle*'
// and divide by the number of calls of RunOneCycle.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QPushButton>
#include <memory>
#include <string>
#include <vector>

#include "core/local_time.h"
#include "loopback_responder.h"
#include "sample_replies.h"
#include "support/recording_errors.h"
#include "support/recording_tray.h"
#include "support/scripted_confirmation.h"
#include "support/temp_dir.h"
#include "ui/address_field.h"
#include "ui/dialogs.h"
#include "ui/integer_field.h"
#include "ui/main_window.h"
#include "ui/player_list.h"

namespace kestrova::bench {
namespace {

// Counts the paint events of the player list's rows area and of the whole
// window.
class PaintCounter final : public QObject {
 public:
  explicit PaintCounter(QWidget* rowsArea) : rowsArea_(rowsArea) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      ++paints;
      if (watched == rowsArea_) {
        ++rowPaints;
      }
    }
    return false;
  }
  long long paints = 0;
  long long rowPaints = 0;

 private:
  QObject* rowsArea_;
};

// Handles what the cycle left for the event loop: the window's repaint
// among it.
void HandlePendingEvents() {
  for (int pass = 0; pass < 3; ++pass) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

// One cycle as a timer tick runs it, then the event loop's turn.
void Cycle(TForm1& form) {
  // The START button's click runs the same handler as every tick.
  form.Button1->click();
  // Ticks come from the benchmark loop alone.
  form.Timer1->Stop();
  HandlePendingEvents();
}

// A measured cycle: a function of its own, for callgrind's --toggle-collect.
[[gnu::noinline]] void RunOneCycle(TForm1& form) { Cycle(form); }

void BM_WindowCycle(benchmark::State& state) {
  const int players = static_cast<int>(state.range(0));
  const bool changing = state.range(1) != 0;
  std::vector<std::string> statusReplies{SampleStatusReply(players, 0)};
  if (changing) {
    statusReplies.push_back(SampleStatusReply(players, 1));
  }
  test::TempDir folder;  // for "data.dat"
  test::RecordingErrors errors;
  test::ScriptedConfirmation confirmation;
  SystemClock clock;
  LoopbackResponder server(SampleInfoReply(), statusReplies);
  // The notification area and the notifications are recorded, never the
  // desktop's.
  const auto tray = std::make_shared<test::RecordingTray::Log>();
  TForm1 form(BuildKind::Standard,
              FormServices{errors, confirmation, clock, folder.Path(), std::make_unique<test::RecordingTray>(tray),
                           QString(), nullptr, std::make_unique<test::RecordingNotifier>(tray)});
  form.FormCreate();
  form.IPEdit->SetAddress(0x7F000001);
  form.Edit2->setText(QString::number(server.GamePort()));
  form.Edit3->setText(QString::number(server.QueryPort()));
  // The first cycles fill the window; what is measured is the steady state.
  for (int warmUp = 0; warmUp < 4; ++warmUp) {
    Cycle(form);
  }
  if (form.ListView1->topLevelItemCount() != players) {
    state.SkipWithError("the window does not list every player");
    return;
  }

  PaintCounter counter(form.ListView1->viewport());
  QApplication::instance()->installEventFilter(&counter);
  for (auto _ : state) {
    RunOneCycle(form);
  }
  QApplication::instance()->removeEventFilter(&counter);

  if (form.ListView1->topLevelItemCount() != players) {
    state.SkipWithError("the window lost players");
  }
  state.counters["paints"] =
      benchmark::Counter(static_cast<double>(counter.paints), benchmark::Counter::kAvgIterations);
  state.counters["rowPaints"] =
      benchmark::Counter(static_cast<double>(counter.rowPaints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_WindowCycle)
    ->ArgNames({"players", "changing"})
    ->ArgsProduct({{32, 64}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrova::bench

int main(int argc, char** argv) {
  // The offscreen platform cannot raise the window that the start-up
  // raises; its warning would come with every benchmark.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.contains(QStringLiteral("does not support raise"))) {
      qt_message_output(type, context, message);
    }
  });
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
