// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The structures that the tray's D-Bus interfaces (org.kde.StatusNotifierItem
// and com.canonical.dbusmenu) send, with their D-Bus signatures.

#include <QByteArray>
#include <QDBusArgument>
#include <QDBusVariant>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QIcon;

namespace kestrova {

// One image of an icon, (iiay): width, height and the pixels as ARGB32 in
// network byte order, row after row.
struct DBusImage {
  int width = 0;
  int height = 0;
  QByteArray pixels;
};
using DBusImageList = QList<DBusImage>;

// The images of `icon` at the sizes trays ask for, 16 to 64 pixels.
DBusImageList DBusImages(const QIcon& icon);

// An item's tip, (sa(iiay)ss): an icon name, images, a plain-text title and
// a description that hosts may read as markup.
struct DBusToolTip {
  QString iconName;
  DBusImageList images;
  QString title;
  QString description;
};

// A menu item with its children, (ia{sv}av): each child is a variant that
// holds another such item.
struct DBusMenuLayout {
  int id = 0;
  QVariantMap properties;
  QList<DBusMenuLayout> children;
};

// An item's properties, (ia{sv}).
struct DBusMenuItem {
  int id = 0;
  QVariantMap properties;
};
using DBusMenuItemList = QList<DBusMenuItem>;

// The names of an item's properties that were removed, (ias).
struct DBusMenuItemKeys {
  int id = 0;
  QStringList names;
};
using DBusMenuItemKeysList = QList<DBusMenuItemKeys>;

// One event of an EventGroup call, (isvu).
struct DBusMenuEvent {
  int id = 0;
  QString eventId;
  QDBusVariant data;
  uint timestamp = 0;
};
using DBusMenuEventList = QList<DBusMenuEvent>;

// Makes the types above known to QtDBus; harmless to call again.
void RegisterDBusTypes();

QDBusArgument& operator<<(QDBusArgument& argument, const DBusImage& image);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusImage& image);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusToolTip& tip);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusToolTip& tip);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuLayout& layout);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuLayout& layout);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItem& item);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItem& item);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuItemKeys& keys);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuItemKeys& keys);
QDBusArgument& operator<<(QDBusArgument& argument, const DBusMenuEvent& event);
const QDBusArgument& operator>>(const QDBusArgument& argument, DBusMenuEvent& event);

}  // namespace kestrova

Q_DECLARE_METATYPE(kestrova::DBusImage)
Q_DECLARE_METATYPE(kestrova::DBusToolTip)
Q_DECLARE_METATYPE(kestrova::DBusMenuLayout)
Q_DECLARE_METATYPE(kestrova::DBusMenuItem)
Q_DECLARE_METATYPE(kestrova::DBusMenuItemKeys)
Q_DECLARE_METATYPE(kestrova::DBusMenuEvent)
