// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>

namespace kestrova {

// How urgent a notification is, as org.freedesktop.Notifications counts it.
enum class Urgency : uchar { Low = 0, Normal = 1, Critical = 2 };

// Where the program's notifications go. The real one is DesktopNotifier;
// tests substitute a recorder.
class Notifier {
 public:
  virtual ~Notifier() = default;
  // Tells the user `body` under the heading `summary`; both plain text.
  virtual void Notify(const QString& summary, const QString& body, Urgency urgency) = 0;
};

// Notifications through the desktop's notification service,
// org.freedesktop.Notifications on `bus`, whether or not a tray exists:
// from the application "Kestrova" with the installed icon "kestrova" and
// the hint "desktop-entry" naming the launcher `desktopEntry`, so that the
// desktop ties them to the program's own notification settings. The body
// is escaped where the service reads markup. Where the bus has no such
// service (or there is no bus) `fallback` gets the message: the tray icon's
// own message, where it has one. Nothing waits: the calls are asynchronous.
class DesktopNotifier final : public QObject, public Notifier {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(DesktopNotifier)

 public:
  using Fallback = std::function<void(const QString& summary, const QString& body)>;

  DesktopNotifier(const QDBusConnection& bus, QString desktopEntry, Fallback fallback, QObject* parent = nullptr);

  void Notify(const QString& summary, const QString& body, Urgency urgency) override;

 private:
  void Send(const QString& summary, const QString& body, bool markup, Urgency urgency);

  QDBusConnection bus_;
  QString desktopEntry_;
  Fallback fallback_;
};

}  // namespace kestrova
