// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <array>

#include "core/server_events.h"

namespace kestrova {

// Which kinds of change the desktop notifications tell, kept with QSettings
// in an INI file (section "notifications", keys "silence", "map",
// "players", "full"). By default only silence is told.
class NotificationSettings final {
 public:
  // Reads the choices from `file`; a missing file or key gives the
  // default. An empty name keeps the choices for this run only.
  explicit NotificationSettings(QString file);

  // The user's file: kestrova/kestrova.conf in the configuration folder
  // ($XDG_CONFIG_HOME, else ~/.config).
  static QString UserFile();

  bool Enabled(EventKind kind) const;
  // Sets a choice and writes it to the file at once. A file that cannot be
  // written keeps the choice for this run.
  void SetEnabled(EventKind kind, bool enabled);

 private:
  QString file_;
  std::array<bool, kEventKindCount> enabled_{};
};

}  // namespace kestrova
