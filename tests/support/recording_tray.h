// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QString>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ui/desktop_notifications.h"
#include "ui/tray_backend.h"

namespace kestrova::test {

// A notification area that records what it is told in a log that outlives
// it, so that the removal when an icon goes can be seen, and answers as
// its switches say (present, taking the icon and showing messages unless
// told otherwise).
class RecordingTray final : public TrayBackend {
 public:
  struct Log {
    // Every call as "Show:<tip>", "SetToolTip:<tip>", "Hide", "Menu" or
    // "Message:<title>:<text>".
    std::vector<std::string> calls;
    // Every tip, shown or changed.
    std::vector<QString> tips;
    // Each message or notification as its title, a line feed and its text.
    std::vector<QString> messages;
    // The urgency of each notification.
    std::vector<Urgency> urgencies;
  };
  explicit RecordingTray(std::shared_ptr<Log> log) : log_(std::move(log)) {}

  bool Show(const QIcon&, const QString& tip) override {
    Record("Show:" + tip.toStdString());
    log_->tips.push_back(tip);
    return addSucceeds && available;
  }
  void SetToolTip(const QString& tip) override {
    Record("SetToolTip:" + tip.toStdString());
    log_->tips.push_back(tip);
  }
  void Hide() override { Record("Hide"); }
  void SetContextMenu(QMenu* contextMenu) override {
    menu = contextMenu;
    Record("Menu");
  }
  bool Available() const override { return available; }
  bool ShowMessage(const QString& title, const QString& text) override {
    Record("Message:" + title.toStdString() + ":" + text.toStdString());
    log_->messages.push_back(title + QLatin1Char('\n') + text);
    return available && showsMessages;
  }

  void Click(TrayClick click) const { ReportClick(click); }
  // An area takes the icon, or loses it, after the add.
  void Presence(bool present) {
    available = present;
    ReportPresence(present);
  }

  bool available = true;
  bool addSucceeds = true;
  bool showsMessages = true;
  QMenu* menu = nullptr;

 private:
  void Record(std::string call) { log_->calls.push_back(std::move(call)); }

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

}  // namespace kestrova::test
