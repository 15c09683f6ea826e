#pragma once

// The desktop services a modern session offers, for tests: a private D-Bus
// session bus, a tray (a StatusNotifierWatcher) and a notification service
// that record what programs tell them, and a headless Wayland compositor.
// The fakes live in the test process and answer only while it handles Qt
// events (ServeUntil).

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "desktop/x_session.h"

namespace kestrova::test {

// Handles the test process's Qt events (made on first use) until
// `condition` holds (true) or `limit` has passed (false).
bool ServeUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit);

// A session bus of the test's own (dbus-daemon), which starts no services
// on demand: a call to a name that nobody owns fails at once, and no
// notification daemon installed on the machine pops up.
class PrivateBus final {
 public:
  // Runs the daemon in `folder`; Address() is empty when it did not start.
  explicit PrivateBus(const std::filesystem::path& folder);
  // Closes the test's connections, then stops the daemon.
  ~PrivateBus();
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  const std::string& Address() const { return address_; }
  // A new connection of the test process to the bus.
  QDBusConnection Connect() const;
  // Whether a connection of process `pid` is on the bus.
  bool HasClient(pid_t pid) const;

 private:
  std::string address_;
  std::optional<SpawnedProgram> daemon_;
  mutable QStringList connections_;
};

// A tray: org.kde.StatusNotifierWatcher on `bus`, with a host, from its
// construction until it goes (as a panel that quits).
class FakeTray final : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems MEMBER items)
  Q_PROPERTY(bool IsStatusNotifierHostRegistered READ Hosted)
  Q_PROPERTY(int ProtocolVersion READ Version)

 public:
  explicit FakeTray(QDBusConnection bus);
  ~FakeTray() override;

  bool Hosted() const { return true; }
  int Version() const { return 0; }

  // The services of the items registered, in order.
  QStringList items;

 public Q_SLOTS:
  void RegisterStatusNotifierItem(const QString& service);
  void RegisterStatusNotifierHost(const QString& service);

 Q_SIGNALS:
  void StatusNotifierItemRegistered(const QString& service);

 private:
  QDBusConnection bus_;
};

// org.freedesktop.Notifications on `bus`, reading body markup; records
// every Notify call.
class RecordingNotificationService final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  struct Notification {
    QString appName;
    uint replacesId = 0;
    QString appIcon;
    QString summary;
    QString body;
    QVariantMap hints;
    int timeout = 0;
  };

  // `markup`: whether it claims "body-markup".
  RecordingNotificationService(QDBusConnection bus, bool markup);

  std::vector<Notification> notifications;

 public Q_SLOTS:
  QStringList GetCapabilities();
  uint Notify(const QString& appName, uint replacesId, const QString& appIcon, const QString& summary,
              const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout);
  void CloseNotification(uint id);
  QString GetServerInformation(QString& vendor, QString& version, QString& specVersion);

 private:
  bool markup_;
};

// A headless Wayland compositor (weston) with a runtime folder of its own.
class WaylandSession final {
 public:
  // Why none can be had (weston missing); empty when one can.
  static std::string Unavailable();

  // Starts weston in `folder` with its output written to `log`; Ready()
  // once its socket is there.
  WaylandSession(const std::filesystem::path& folder, const std::filesystem::path& log);

  bool Ready() const { return ready_; }
  // The environment for a program that shows its windows here natively.
  std::vector<std::string> Environment(const std::vector<std::string>& more) const;

 private:
  std::filesystem::path runtime_;
  bool ready_ = false;
  std::optional<SpawnedProgram> compositor_;
};

}  // namespace kestrova::test
