// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QString>
#include <functional>

#include "ui/dbus_menu.h"
#include "ui/dbus_types.h"

class QDBusServiceWatcher;
class QMenu;

namespace kestrova {

// The program's icon as a StatusNotifierItem (org.kde.StatusNotifierItem)
// on a session bus, with its menu as com.canonical.dbusmenu: the tray of
// KDE Plasma, of GNOME's AppIndicator extension, of waybar and of Xfce. It
// registers with the bus's org.kde.StatusNotifierWatcher whenever one
// appears, at start or later, and again after the panel restarts, for as
// long as it is meant to be shown. The item's status stays "Active" and its
// tip is only ever the tip it is given.
class StatusNotifierItem final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(StatusNotifierItem)
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
  Q_PROPERTY(QString Category READ Category CONSTANT)
  Q_PROPERTY(QString Id READ Id CONSTANT)
  Q_PROPERTY(QString Title READ Title CONSTANT)
  Q_PROPERTY(QString Status READ Status CONSTANT)
  Q_PROPERTY(int WindowId READ WindowId CONSTANT)
  Q_PROPERTY(QString IconName READ NoName CONSTANT)
  Q_PROPERTY(kestrova::DBusImageList IconPixmap READ IconPixmap)
  Q_PROPERTY(QString OverlayIconName READ NoName CONSTANT)
  Q_PROPERTY(kestrova::DBusImageList OverlayIconPixmap READ NoImages CONSTANT)
  Q_PROPERTY(QString AttentionIconName READ NoName CONSTANT)
  Q_PROPERTY(kestrova::DBusImageList AttentionIconPixmap READ NoImages CONSTANT)
  Q_PROPERTY(QString AttentionMovieName READ NoName CONSTANT)
  Q_PROPERTY(kestrova::DBusToolTip ToolTip READ ToolTip)
  Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu CONSTANT)
  Q_PROPERTY(QDBusObjectPath Menu READ Menu CONSTANT)

 public:
  struct Handlers {
    // Activate (a left click) and SecondaryActivate (a middle click or a
    // double-click, by host).
    std::function<void(bool secondary)> activate;
    // A host without dbusmenu asks for the menu at a screen position.
    std::function<void(QPoint)> contextMenu;
    // Registration with a watcher began or ended, or a watcher came or went.
    std::function<void()> changed;
  };

  // Watches `bus` for a StatusNotifierWatcher. Nothing is shown before Show.
  StatusNotifierItem(const QDBusConnection& bus, Handlers handlers, QObject* parent = nullptr);
  ~StatusNotifierItem() override;

  // Shows `icon` with `tip` whenever a watcher is there; registers with one
  // that is there now unless it holds the item already.
  void Show(const QIcon& icon, const QString& tip);
  // Takes the item off the bus until the next Show.
  void Hide();
  void SetToolTip(const QString& tip);
  void SetMenu(QMenu* menu) { menu_.SetMenu(menu); }

  // Whether a watcher is on the bus.
  bool WatcherPresent() const { return watcherPresent_; }
  // Whether the watcher has accepted the item.
  bool Registered() const { return registered_; }

  // The D-Bus properties.
  QString Category() const { return QStringLiteral("ApplicationStatus"); }
  QString Id() const;
  QString Title() const { return QStringLiteral("Kestrova"); }
  QString Status() const { return QStringLiteral("Active"); }
  int WindowId() const { return 0; }
  QString NoName() const { return {}; }
  DBusImageList IconPixmap() const { return images_; }
  DBusImageList NoImages() const { return {}; }
  // The tip's first line is the title, the other lines the description,
  // with markup characters escaped: the tip holds the server's texts.
  DBusToolTip ToolTip() const;
  bool ItemIsMenu() const { return false; }
  QDBusObjectPath Menu() const;

  // The D-Bus methods.
 public Q_SLOTS:
  void Activate(int x, int y);
  void SecondaryActivate(int x, int y);
  void ContextMenu(int x, int y);
  void Scroll(int delta, const QString& orientation);

 Q_SIGNALS:
  void NewTitle();
  void NewIcon();
  void NewToolTip();
  void NewStatus(const QString& status);

 private:
  void Register();
  void SetRegistered(bool registered);

  QDBusConnection bus_;
  Handlers handlers_;
  DBusMenuExporter menu_;
  QDBusServiceWatcher* watcher_ = nullptr;
  QString service_;
  DBusImageList images_;
  QString tip_;
  bool wanted_ = false;
  bool exported_ = false;
  bool watcherPresent_ = false;
  bool registered_ = false;
  // Counts registrations, so that the answer to one that was overtaken by
  // a Hide or a newer registration is ignored.
  quint64 attempt_ = 0;
};

}  // namespace kestrova
