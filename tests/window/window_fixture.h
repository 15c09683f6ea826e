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

class RecordingErrors final : public ErrorDisplay {
 public:
  void ShowError(const std::string& message) override { messages.push_back(message); }
  std::vector<std::string> messages;
};

// Builds the window of one build in a temporary working folder, the way
// the program entry does, with recording stand-ins for the dialogs, the
// notification area and the notifications.
class WindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  // Creates the window and runs its start-up steps.
  void Open(BuildKind build = BuildKind::Standard);
  TForm1& Form() { return *form_; }

  // Points the endpoint fields at 127.0.0.1 and the given ports.
  void PointAt(int gamePort, int queryPort);
  // Presses START with the mouse: the focus entry saves, the click cycles.
  void ClickStart();

  TempDir folder_;
  SystemClock clock_;
  RecordingErrors errors_;
  ScriptedConfirmation confirmation_;
  std::shared_ptr<RecordingTray::Log> tray_ = std::make_shared<RecordingTray::Log>();
  std::unique_ptr<TForm1> form_;

  void TearDown() override { form_.reset(); }
};

}  // namespace kestrova::test
