// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/remote_commands.h"
#include "core/local_time.h"
#include "support/fixed_clock.h"
#include "support/manual_clock.h"
#include "support/recording_errors.h"
#include "support/recording_tray.h"
#include "support/scripted_confirmation.h"
#include "support/temp_dir.h"
#include "ui/address_field.h"
#include "ui/console_list.h"
#include "ui/dialogs.h"
#include "ui/integer_field.h"
#include "ui/main_window.h"
#include "ui/player_list.h"

namespace kestrova::test {

// Makes the one QApplication of the test program (offscreen platform).
void EnsureApplication();

// Handles window events until `condition` holds or `timeout` has passed;
// returns whether it holds.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));

// Handles window events for `duration`.
void Pump(std::chrono::milliseconds duration);

// Ticks the window's query cycle by hand.
class DrivenTicks final : public TickSource {
 public:
  void Start() override { active_ = true; }
  void Stop() override { active_ = false; }
  bool Active() const override { return active_; }
  // One tick, as the timer gives it; none while stopped.
  void Fire() {
    if (active_) {
      Q_EMIT Tick();
    }
  }

 private:
  bool active_ = false;
};

// Builds the window of one build in a temporary working folder, the way
// the program entry does, with recording stand-ins for the dialogs, the
// notification area and the notifications. It runs on the test's clocks:
// the date and time stand still at kNow, and the steady time moves and the
// query cycle ticks only when the test ticks (Tick), unless the test runs
// it on the system's steady clock and a real timer (realTime_).
class WindowTest : public ::testing::Test {
 protected:
  static constexpr LocalTime kNow{2026, 12, 7, 1, 5, 15};

  static void SetUpTestSuite() { EnsureApplication(); }

  // What the window is given: the recorders and clocks of this fixture,
  // `folder` as the working folder, `settingsFile` for the notification
  // choices.
  FormServices Services(Confirmation& confirmation, const std::filesystem::path& folder,
                        const QString& settingsFile = QString());
  // Creates the window and runs its start-up steps.
  void Open(BuildKind build, FormServices services);
  void Open(BuildKind build = BuildKind::Standard) { Open(build, Services(confirmation_, folder_.Path())); }
  TForm1& Form() { return *form_; }

  // Moves the steady clock on by the tick's interval and ticks, `count`
  // times; each tick's cycle has ended when the next comes.
  void Tick(int count = 1);
  // Ticks until `condition` holds, at most `most` times; whether it holds.
  bool TickUntil(const std::function<bool()>& condition, int most = 20);

  // Points the endpoint fields at 127.0.0.1 and the given ports.
  void PointAt(int gamePort, int queryPort);
  // Presses START with the mouse: the focus entry saves, the click cycles.
  void ClickStart();

  TempDir folder_;
  FixedClock clock_{kNow};
  ManualClock steady_;
  // The window's Timer1 unless realTime_; owned by the window.
  DrivenTicks* ticks_ = nullptr;
  bool realTime_ = false;
  // Runs before each tick with the span the clock moves: a server's budget
  // kept in step with it.
  std::function<void(std::chrono::milliseconds)> beforeTick_;
  // How long the window's datagram clients wait for a reply.
  int receiveTimeoutMs_ = 1000;
  RecordingErrors errors_;
  ScriptedConfirmation confirmation_;
  std::shared_ptr<RecordingTray::Log> tray_ = std::make_shared<RecordingTray::Log>();
  std::unique_ptr<TForm1> form_;

  void TearDown() override { form_.reset(); }
};

}  // namespace kestrova::test
