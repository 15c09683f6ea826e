// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notification_settings.h"

#include <QSettings>
#include <QStandardPaths>
#include <utility>

namespace kestrova {

namespace {

QString Key(EventKind kind) {
  switch (kind) {
    case EventKind::Silence:
      return QStringLiteral("notifications/silence");
    case EventKind::MapChange:
      return QStringLiteral("notifications/map");
    case EventKind::Players:
      return QStringLiteral("notifications/players");
    case EventKind::Full:
      return QStringLiteral("notifications/full");
  }
  return {};
}

bool Default(EventKind kind) { return kind == EventKind::Silence; }

std::size_t Index(EventKind kind) { return static_cast<std::size_t>(kind); }

}  // namespace

NotificationSettings::NotificationSettings(QString file) : file_(std::move(file)) {
  for (int i = 0; i < kEventKindCount; ++i) {
    enabled_[static_cast<std::size_t>(i)] = Default(static_cast<EventKind>(i));
  }
  if (file_.isEmpty()) {
    return;
  }
  const QSettings settings(file_, QSettings::IniFormat);
  for (int i = 0; i < kEventKindCount; ++i) {
    const auto kind = static_cast<EventKind>(i);
    enabled_[Index(kind)] = settings.value(Key(kind), Default(kind)).toBool();
  }
}

QString NotificationSettings::UserFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/kestrova/kestrova.conf");
}

bool NotificationSettings::Enabled(EventKind kind) const { return enabled_[Index(kind)]; }

void NotificationSettings::SetEnabled(EventKind kind, bool enabled) {
  enabled_[Index(kind)] = enabled;
  if (file_.isEmpty()) {
    return;
  }
  QSettings settings(file_, QSettings::IniFormat);
  settings.setValue(Key(kind), enabled);
  settings.sync();
}

}  // namespace kestrova
