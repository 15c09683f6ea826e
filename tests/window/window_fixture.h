#pragma once

#include <gtest/gtest.h>

#include <QIcon>
#include <QString>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "console/remote_commands.h"
#include "core/local_time.h"
#include "support/temp_dir.h"
#include "ui/address_field.h"
#include "ui/console_list.h"
#include "ui/desktop_notifications.h"
#include "ui/dialogs.h"
#include "ui/integer_field.h"
#include "ui/main_window.h"
#include "ui/player_list.h"
#include "ui/tray_backend.h"

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

// Answers the Yes/No questions from a script (Yes when it runs out).
class ScriptedConfirmation final : public Confirmation {
 public:
  bool Confirm(const std::string& message) override {
    questions.push_back(message);
    if (onConfirm) {
      onConfirm();
    }
    if (answers.empty()) {
      return true;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<bool> answers;
  std::vector<std::string> questions;
  // Runs while the question is open, as window events would.
  std::function<void()> onConfirm;
};

// A notification area that is always there and records what it is told.
class RecordingTray final : public TrayBackend {
 public:
  struct Log {
    std::vector<QString> tips;
    // Each message or notification as its title, a line feed and its text.
    std::vector<QString> messages;
    // The urgency of each notification.
    std::vector<Urgency> urgencies;
    bool shown = false;
  };
  explicit RecordingTray(std::shared_ptr<Log> log) : log_(std::move(log)) {}
  bool Show(const QIcon&, const QString& tip) override {
    log_->shown = true;
    log_->tips.push_back(tip);
    return true;
  }
  void SetToolTip(const QString& tip) override { log_->tips.push_back(tip); }
  void Hide() override { log_->shown = false; }
  void SetContextMenu(QMenu*) override {}
  bool Available() const override { return true; }
  bool ShowMessage(const QString& title, const QString& text) override {
    log_->messages.push_back(title + QLatin1Char('\n') + text);
    return true;
  }

 private:
  std::shared_ptr<Log> log_;
};

// The window's notifications, written to a tray's log.
class RecordingNotifier final : public Notifier {
 public:
  explicit RecordingNotifier(std::shared_ptr<RecordingTray::Log> log) : log_(std::move(log)) {}
  void Notify(const QString& summary, const QString& body, Urgency urgency) override {
    log_->messages.push_back(summary + QLatin1Char('\n') + body);
    log_->urgencies.push_back(urgency);
  }

 private:
  std::shared_ptr<RecordingTray::Log> log_;
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
