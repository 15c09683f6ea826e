// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusVariant>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include "ui/dbus_types.h"

class QAction;
class QMenu;

namespace kestrova {

// Offers the items of a QMenu on D-Bus as com.canonical.dbusmenu, so that a
// StatusNotifierItem host draws the tray menu itself: labels, check marks,
// separators, enabled and visible states, and a click on an item triggers
// its action. The QMenu stays the one menu; changes to it are announced as
// they happen. Items of submenus are not offered.
class DBusMenuExporter final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(DBusMenuExporter)
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_PROPERTY(uint Version READ Version CONSTANT)
  Q_PROPERTY(QString TextDirection READ TextDirection CONSTANT)
  Q_PROPERTY(QString Status READ Status CONSTANT)
  Q_PROPERTY(QStringList IconThemePath READ IconThemePath CONSTANT)

 public:
  explicit DBusMenuExporter(QObject* parent = nullptr);

  // The menu offered; nullptr offers an empty one. Not owned.
  void SetMenu(QMenu* menu);

  uint Version() const { return 3; }
  QString TextDirection() const;
  QString Status() const { return QStringLiteral("normal"); }
  QStringList IconThemePath() const { return {}; }

  // The D-Bus methods. Item 0 is the menu itself.
 public Q_SLOTS:
  uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames, kestrova::DBusMenuLayout& layout);
  kestrova::DBusMenuItemList GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames);
  QDBusVariant GetProperty(int id, const QString& name);
  void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
  QList<int> EventGroup(const kestrova::DBusMenuEventList& events);
  bool AboutToShow(int id);
  QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

 Q_SIGNALS:
  void ItemsPropertiesUpdated(const kestrova::DBusMenuItemList& updatedProps,
                              const kestrova::DBusMenuItemKeysList& removedProps);
  void LayoutUpdated(uint revision, int parent);
  void ItemActivationRequested(int id, uint timestamp);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int IdOf(QAction* action);
  // The action of item `id`; nullptr for the menu itself and unknown ids.
  QAction* ActionOf(int id) const;
  bool Known(int id) const { return id == 0 || ActionOf(id) != nullptr; }
  QVariantMap Properties(int id, const QStringList& names) const;
  bool Clicked(int id, const QString& eventId);
  void AnnounceLayout();

  QPointer<QMenu> menu_;
  QHash<QAction*, int> ids_;
  QHash<int, QPointer<QAction>> actions_;
  int lastId_ = 0;
  uint revision_ = 1;
};

}  // namespace kestrova
