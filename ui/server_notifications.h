// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>

#include "core/display_model.h"
#include "core/endpoint_source.h"
#include "core/query_cycle.h"
#include "core/server_events.h"
#include "core/steady_clock.h"
#include "ui/desktop_notifications.h"
#include "ui/notification_settings.h"

class QAction;
class QMenu;

namespace kestrova {

class TNotificationIcon;

// Tells the user through the desktop's notifications when the watched
// server stops answering or answers again, changes its map, gains or loses
// players, or fills up. Each kind is switched by a checkable item of the
// tray menu, put above `before` ("Exit Kestrova"); the choices live in
// NotificationSettings. It reads each cycle from what the cycle did and
// left on show; CycleEnded must follow every cycle.
class ServerNotifications final : public QObject {
  Q_DISABLE_COPY_MOVE(ServerNotifications)

 public:
  struct Parts {
    const DisplayModel& shown;
    TNotificationIcon& icon;
    QMenu& menu;
    QAction* before;
    const EndpointSource& endpoint;
    // Times the server's silence.
    const SteadyClock& clock;
    // Where the choices are kept; empty: for this run only.
    QString settingsFile;
    // Where the notifications go; nullptr: the desktop's notification
    // service on the session bus, else the tray icon's messages.
    std::unique_ptr<Notifier> notifier;
  };

  explicit ServerNotifications(Parts parts);
  ~ServerNotifications() override;

  // Compares the cycle that just ended with the ones before and sends a
  // notification, titled "Kestrova", for each change whose kind is switched
  // on: normal urgency, but low for players joining and leaving, which busy
  // servers do all the time.
  void CycleEnded(const CycleOutcome& outcome);

 private:
  Parts parts_;
  NotificationSettings settings_;
  ServerView view_;
};

}  // namespace kestrova
