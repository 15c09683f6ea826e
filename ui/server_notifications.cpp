// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/server_notifications.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>

#include "core/cycle_recorder.h"
#include "core/reply_text.h"
#include "ui/notification_icon.h"
#include "ui/text_bytes.h"

namespace kestrova {

namespace {

struct Item {
  EventKind kind;
  const char* name;
  const char* caption;
  Urgency urgency;
};

constexpr Item kItems[] = {
    {EventKind::Silence, "NotifySilence1", "Notify when the server stops answering", Urgency::Normal},
    {EventKind::MapChange, "NotifyMap1", "Notify when the map changes", Urgency::Normal},
    {EventKind::Players, "NotifyPlayers1", "Notify when players join or leave", Urgency::Low},
    {EventKind::Full, "NotifyFull1", "Notify when the server is full", Urgency::Normal},
};

// The table is looked up by kind.
constexpr bool InKindOrder() {
  for (std::size_t i = 0; i < std::size(kItems); ++i) {
    if (kItems[i].kind != static_cast<EventKind>(i)) return false;
  }
  return std::size(kItems) == kEventKindCount;
}
static_assert(InKindOrder());

}  // namespace

ServerNotifications::ServerNotifications(Parts parts) : parts_(std::move(parts)), settings_(parts_.settingsFile) {
  if (!parts_.notifier) {
    TNotificationIcon* icon = &parts_.icon;
    parts_.notifier = std::make_unique<DesktopNotifier>(
        QDBusConnection::sessionBus(), QGuiApplication::desktopFileName(),
        [icon](const QString& summary, const QString& body) { icon->ShowMessage(summary, body); });
  }
  for (const Item& item : kItems) {
    auto* action = new QAction(QString::fromLatin1(item.caption), &parts_.menu);
    action->setObjectName(QString::fromLatin1(item.name));
    action->setCheckable(true);
    action->setChecked(settings_.Enabled(item.kind));
    parts_.menu.insertAction(parts_.before, action);
    connect(action, &QAction::toggled, this, [this, kind = item.kind](bool on) { settings_.SetEnabled(kind, on); });
  }
  parts_.menu.insertSeparator(parts_.before);
}

ServerNotifications::~ServerNotifications() = default;

void ServerNotifications::CycleEnded(const CycleOutcome& outcome) {
  // Read afresh, as every sender reads the fields.
  std::string endpoint = AddressToText(parts_.endpoint.Address()) + ":" + parts_.endpoint.GamePortText();
  const CycleResult cycle =
      RecordCycle(outcome, parts_.shown,
                  std::chrono::duration_cast<std::chrono::milliseconds>(parts_.clock.Now().time_since_epoch()),
                  std::move(endpoint));
  Detection detection = DetectServerEvents(view_, cycle);
  view_ = std::move(detection.view);
  for (const ServerEvent& event : detection.events) {
    if (settings_.Enabled(event.kind)) {
      parts_.notifier->Notify(QStringLiteral("Kestrova"), ToDisplayText(event.text),
                              kItems[static_cast<std::size_t>(event.kind)].urgency);
    }
  }
}

}  // namespace kestrova
