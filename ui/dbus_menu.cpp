// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dbus_menu.h"

#include <QAction>
#include <QActionEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMetaObject>

namespace kestrova {

namespace {

// Qt marks a mnemonic with "&" and writes a plain "&" as "&&"; dbusmenu
// uses "_" and "__".
QString Label(const QString& text) {
  QString label;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('_')) {
      label += QLatin1String("__");
    } else if (c == QLatin1Char('&') && i + 1 < text.size()) {
      const bool doubled = text.at(i + 1) == QLatin1Char('&');
      label += doubled ? QLatin1Char('&') : QLatin1Char('_');
      if (doubled) ++i;
    } else {
      label += c;
    }
  }
  return label;
}

}  // namespace

DBusMenuExporter::DBusMenuExporter(QObject* parent) : QObject(parent) {}

void DBusMenuExporter::SetMenu(QMenu* menu) {
  if (menu_ == menu) return;
  if (menu_) menu_->removeEventFilter(this);
  menu_ = menu;
  if (menu_) menu_->installEventFilter(this);
  AnnounceLayout();
}

QString DBusMenuExporter::TextDirection() const {
  return QGuiApplication::layoutDirection() == Qt::RightToLeft ? QStringLiteral("rtl") : QStringLiteral("ltr");
}

int DBusMenuExporter::IdOf(QAction* action) {
  const auto found = ids_.constFind(action);
  if (found != ids_.constEnd() && actions_.value(*found) == action) return *found;
  ids_.insert(action, ++lastId_);
  actions_.insert(lastId_, action);
  return lastId_;
}

QAction* DBusMenuExporter::ActionOf(int id) const {
  QAction* action = actions_.value(id);
  // Only the menu's own actions count: one taken out of it is unknown.
  return action != nullptr && menu_ && menu_->actions().contains(action) ? action : nullptr;
}

QVariantMap DBusMenuExporter::Properties(int id, const QStringList& names) const {
  QVariantMap properties;
  if (id == 0) {
    properties.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
  } else if (const QAction* action = ActionOf(id); action != nullptr) {
    if (action->isSeparator()) {
      properties.insert(QStringLiteral("type"), QStringLiteral("separator"));
    } else {
      properties.insert(QStringLiteral("label"), Label(action->text()));
    }
    properties.insert(QStringLiteral("enabled"), action->isEnabled());
    properties.insert(QStringLiteral("visible"), action->isVisible());
    if (action->isCheckable()) {
      properties.insert(QStringLiteral("toggle-type"), QStringLiteral("checkmark"));
      properties.insert(QStringLiteral("toggle-state"), action->isChecked() ? 1 : 0);
    }
  }
  if (names.isEmpty()) return properties;
  QVariantMap chosen;
  for (const QString& name : names) {
    if (properties.contains(name)) chosen.insert(name, properties.value(name));
  }
  return chosen;
}

uint DBusMenuExporter::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                                 DBusMenuLayout& layout) {
  layout = DBusMenuLayout{Known(parentId) ? parentId : 0, Properties(parentId, propertyNames), {}};
  if (parentId == 0 && recursionDepth != 0 && menu_) {
    for (QAction* action : menu_->actions()) {
      const int id = IdOf(action);
      layout.children.push_back(DBusMenuLayout{id, Properties(id, propertyNames), {}});
    }
  }
  return revision_;
}

DBusMenuItemList DBusMenuExporter::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
  QList<int> wanted = ids;
  if (wanted.isEmpty() && menu_) {
    wanted.push_back(0);
    for (QAction* action : menu_->actions()) wanted.push_back(IdOf(action));
  }
  DBusMenuItemList items;
  for (const int id : wanted) {
    if (Known(id)) items.push_back(DBusMenuItem{id, Properties(id, propertyNames)});
  }
  return items;
}

QDBusVariant DBusMenuExporter::GetProperty(int id, const QString& name) {
  return QDBusVariant(Properties(id, {}).value(name));
}

bool DBusMenuExporter::Clicked(int id, const QString& eventId) {
  QAction* action = ActionOf(id);
  if (id != 0 && action == nullptr) return false;
  if (action != nullptr && eventId == QLatin1String("clicked") && action->isEnabled()) {
    // After the reply has gone out: the action may open a dialog or end the
    // program.
    QMetaObject::invokeMethod(action, &QAction::trigger, Qt::QueuedConnection);
  }
  return true;
}

void DBusMenuExporter::Event(int id, const QString& eventId, const QDBusVariant&, uint) { Clicked(id, eventId); }

QList<int> DBusMenuExporter::EventGroup(const DBusMenuEventList& events) {
  QList<int> unknown;
  for (const DBusMenuEvent& event : events) {
    if (!Clicked(event.id, event.eventId)) unknown.push_back(event.id);
  }
  return unknown;
}

bool DBusMenuExporter::AboutToShow(int) { return false; }

QList<int> DBusMenuExporter::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  idErrors.clear();
  for (const int id : ids) {
    if (!Known(id)) idErrors.push_back(id);
  }
  return {};
}

void DBusMenuExporter::AnnounceLayout() { Q_EMIT LayoutUpdated(++revision_, 0); }

bool DBusMenuExporter::eventFilter(QObject* watched, QEvent* event) {
  if (watched == menu_) {
    switch (event->type()) {
      case QEvent::ActionAdded:
      case QEvent::ActionRemoved:
        AnnounceLayout();
        break;
      case QEvent::ActionChanged: {
        const int id = IdOf(static_cast<QActionEvent*>(event)->action());
        Q_EMIT ItemsPropertiesUpdated({DBusMenuItem{id, Properties(id, {})}}, {});
        break;
      }
      default:
        break;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kestrova
