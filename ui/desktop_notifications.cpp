// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/desktop_notifications.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>
#include <utility>

namespace kestrova {

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage Call(const QString& method) { return QDBusMessage::createMethodCall(kService, kPath, kService, method); }

}  // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QString desktopEntry, Fallback fallback, QObject* parent)
    : QObject(parent), bus_(bus), desktopEntry_(std::move(desktopEntry)), fallback_(std::move(fallback)) {}

void DesktopNotifier::Notify(const QString& summary, const QString& body, Urgency urgency) {
  if (!bus_.isConnected()) {
    if (fallback_) fallback_(summary, body);
    return;
  }
  // Asked each time: the service may have been replaced by one that reads
  // no markup. Its absence shows as an error here.
  auto* reply = new QDBusPendingCallWatcher(bus_.asyncCall(Call(QStringLiteral("GetCapabilities"))), this);
  connect(reply, &QDBusPendingCallWatcher::finished, this,
          [this, summary, body, urgency](QDBusPendingCallWatcher* done) {
            done->deleteLater();
            const QDBusPendingReply<QStringList> capabilities = *done;
            if (capabilities.isError()) {
              if (fallback_) fallback_(summary, body);
              return;
            }
            Send(summary, body, capabilities.value().contains(QStringLiteral("body-markup")), urgency);
          });
}

void DesktopNotifier::Send(const QString& summary, const QString& body, bool markup, Urgency urgency) {
  QVariantMap hints;
  hints.insert(QStringLiteral("desktop-entry"), desktopEntry_);
  hints.insert(QStringLiteral("urgency"), QVariant::fromValue(static_cast<uchar>(urgency)));
  QDBusMessage call = Call(QStringLiteral("Notify"));
  // app_name, replaces_id, app_icon, summary, body, actions, hints,
  // expire_timeout (-1: as the service likes).
  call << QStringLiteral("Kestrova") << 0u << QStringLiteral("kestrova") << summary
       << (markup ? body.toHtmlEscaped() : body) << QStringList() << hints << -1;
  auto* reply = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  connect(reply, &QDBusPendingCallWatcher::finished, this, [this, summary, body](QDBusPendingCallWatcher* done) {
    done->deleteLater();
    if (done->isError() && fallback_) fallback_(summary, body);
  });
}

}  // namespace kestrova
