// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/status_notifier_item.h"

#include <unistd.h>

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QGuiApplication>

namespace kestrova {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kMenuPath = QStringLiteral("/MenuBar");

constexpr QDBusConnection::RegisterOptions kExported =
    QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals | QDBusConnection::ExportAllProperties;

// Items of one process are told apart by a number.
int NextItemNumber() {
  static int number = 0;
  return ++number;
}

}  // namespace

StatusNotifierItem::StatusNotifierItem(const QDBusConnection& bus, Handlers handlers, QObject* parent)
    : QObject(parent),
      bus_(bus),
      handlers_(std::move(handlers)),
      service_(QStringLiteral("org.kde.StatusNotifierItem-%1-%2").arg(::getpid()).arg(NextItemNumber())) {
  RegisterDBusTypes();
  if (!bus_.isConnected()) return;
  watcher_ = new QDBusServiceWatcher(
      kWatcherService, bus_, QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration,
      this);
  connect(watcher_, &QDBusServiceWatcher::serviceRegistered, this, [this] {
    watcherPresent_ = true;
    Register();
    if (handlers_.changed) handlers_.changed();
  });
  connect(watcher_, &QDBusServiceWatcher::serviceUnregistered, this, [this] {
    watcherPresent_ = false;
    SetRegistered(false);
    if (handlers_.changed) handlers_.changed();
  });
  // Asked once, at once, so that the program knows from its first moment
  // which kind of tray to use; later comings and goings are watched.
  const QDBusConnectionInterface* daemon = bus_.interface();
  watcherPresent_ = daemon != nullptr && daemon->isServiceRegistered(kWatcherService).value();
}

StatusNotifierItem::~StatusNotifierItem() {
  if (!exported_) return;
  bus_.unregisterService(service_);
  bus_.unregisterObject(kMenuPath);
  bus_.unregisterObject(kItemPath);
}

void StatusNotifierItem::Show(const QIcon& icon, const QString& tip) {
  wanted_ = true;
  images_ = DBusImages(icon);
  tip_ = tip;
  Q_EMIT NewIcon();
  Q_EMIT NewToolTip();
  // An item the watcher holds only needs the signals.
  if (!registered_) Register();
}

void StatusNotifierItem::Hide() {
  wanted_ = false;
  ++attempt_;
  // The watcher drops an item whose name leaves the bus.
  if (exported_) bus_.unregisterService(service_);
  SetRegistered(false);
}

void StatusNotifierItem::SetToolTip(const QString& tip) {
  if (tip == tip_) return;
  tip_ = tip;
  Q_EMIT NewToolTip();
}

void StatusNotifierItem::Register() {
  if (!wanted_ || !watcherPresent_ || !bus_.isConnected()) return;
  if (!exported_) {
    exported_ = bus_.registerObject(kItemPath, this, kExported) && bus_.registerObject(kMenuPath, &menu_, kExported);
    if (!exported_) return;
  }
  if (!bus_.registerService(service_)) return;
  QDBusMessage call = QDBusMessage::createMethodCall(kWatcherService, QStringLiteral("/StatusNotifierWatcher"),
                                                     kWatcherService, QStringLiteral("RegisterStatusNotifierItem"));
  call << service_;
  auto* reply = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  connect(reply, &QDBusPendingCallWatcher::finished, this, [this, attempt = ++attempt_](QDBusPendingCallWatcher* done) {
    done->deleteLater();
    if (attempt == attempt_) SetRegistered(!done->isError());
  });
}

void StatusNotifierItem::SetRegistered(bool registered) {
  if (registered == registered_) return;
  registered_ = registered;
  if (handlers_.changed) handlers_.changed();
}

QString StatusNotifierItem::Id() const {
  const QString entry = QGuiApplication::desktopFileName();
  return entry.isEmpty() ? QStringLiteral("kestrova") : entry;
}

DBusToolTip StatusNotifierItem::ToolTip() const {
  const qsizetype lineEnd = tip_.indexOf(QLatin1Char('\n'));
  if (lineEnd < 0) return DBusToolTip{QString(), {}, tip_, QString()};
  return DBusToolTip{QString(), {}, tip_.left(lineEnd), tip_.mid(lineEnd + 1).toHtmlEscaped()};
}

QDBusObjectPath StatusNotifierItem::Menu() const { return QDBusObjectPath(kMenuPath); }

void StatusNotifierItem::Activate(int, int) {
  // Run after the reply has gone out: restoring the window may take a while.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (handlers_.activate) handlers_.activate(false);
      },
      Qt::QueuedConnection);
}

void StatusNotifierItem::SecondaryActivate(int, int) {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (handlers_.activate) handlers_.activate(true);
      },
      Qt::QueuedConnection);
}

void StatusNotifierItem::ContextMenu(int x, int y) {
  QMetaObject::invokeMethod(
      this,
      [this, x, y] {
        if (handlers_.contextMenu) handlers_.contextMenu(QPoint(x, y));
      },
      Qt::QueuedConnection);
}

void StatusNotifierItem::Scroll(int, const QString&) {}

}  // namespace kestrova
