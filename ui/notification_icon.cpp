// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/notification_icon.h"

#include <QAction>
#include <QDBusConnection>
#include <QMenu>
#include <QWidget>

namespace kestrova {

TNotificationIcon::TNotificationIcon(QObject* parent, std::unique_ptr<TrayBackend> backend, const QIcon& icon)
    : QObject(parent), backend_(std::move(backend)), icon_(icon) {
  backend_->SetClickHandler([this](TrayClick click) { HandleClick(click); });
  backend_->SetPresenceHandler([this](bool present) { HandlePresence(present); });
  Add();
}

TNotificationIcon::TNotificationIcon(QObject* parent, const QIcon& icon)
    : TNotificationIcon(parent, std::make_unique<DesktopTrayBackend>(QDBusConnection::sessionBus()), icon) {}

TNotificationIcon::~TNotificationIcon() {
  backend_->SetClickHandler(nullptr);
  backend_->SetPresenceHandler(nullptr);
  backend_->Hide();
}

void TNotificationIcon::SetHint(const std::string& text) {
  if (text == hint_) return;
  hint_ = text;
  if (present_) {
    backend_->SetToolTip(ShownTip());
  } else {
    Add();
  }
}

bool TNotificationIcon::ShowMessage(const QString& title, const QString& text) {
  return present_ && backend_->ShowMessage(title, text);
}

void TNotificationIcon::SetTipNote(const QString& note) {
  if (note == note_) return;
  note_ = note;
  if (present_) backend_->SetToolTip(ShownTip());
}

QString TNotificationIcon::ShownTip() const {
  return note_.isEmpty() ? TipText(hint_) : TipText(hint_) + QLatin1Char('\n') + note_;
}

void TNotificationIcon::SetPopupMenu(QMenu* menu) {
  menu_ = menu;
  backend_->SetContextMenu(menu);
}

bool TNotificationIcon::HideMainForm(QWidget* window) {
  if (!present_ && backend_->Available()) Add();
  // Without a notification area to come back from, a hidden window could
  // not be reached again; it stays an ordinary minimised window.
  if (!present_ || !backend_->Available()) return false;
  window->hide();
  hiddenWindow_ = window;
  return true;
}

void TNotificationIcon::RestoreMainForm(QWidget* window) {
  // Clearing only the minimised flag brings a maximised window back
  // maximised.
  if (window->isMinimized()) window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
  window->show();
  window->raise();
  window->activateWindow();
}

QString TNotificationIcon::TipText(const std::string& hint) {
  std::string tip = hint.substr(0, hint.find('|'));
  if (tip.size() > kMaxTipLength) tip.resize(kMaxTipLength);
  QString text = QString::fromLatin1(tip.data(), static_cast<qsizetype>(tip.size()));
  text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
  return text;
}

void TNotificationIcon::Add() { present_ = backend_->Show(icon_, ShownTip()); }

void TNotificationIcon::HandlePresence(bool present) {
  present_ = present;
  // A panel that quits or restarts takes the icon with it; a window hidden
  // there could not be reached.
  if (!present_ && hiddenWindow_ && !hiddenWindow_->isVisible()) hiddenWindow_->showMinimized();
}

void TNotificationIcon::HandleClick(TrayClick click) {
  switch (click) {
    case TrayClick::Left:
      Q_EMIT OnClick();
      break;
    case TrayClick::Double:
      if (menu_ && menu_->defaultAction() && menu_->defaultAction()->isEnabled()) {
        menu_->defaultAction()->trigger();
      } else {
        Q_EMIT OnDblClick();
      }
      break;
    case TrayClick::Right:
      // The backend opens the popup menu itself; a right click is no click.
      break;
  }
}

}  // namespace kestrova
