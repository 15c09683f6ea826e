// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray_backend.h"

#include <QGuiApplication>
#include <QMenu>

namespace kestrova {

DesktopTrayBackend::DesktopTrayBackend(const QDBusConnection& bus)
    : x11_(QGuiApplication::platformName() == QLatin1String("xcb")),
      item_(bus, StatusNotifierItem::Handlers{
                     [this](bool secondary) { ReportClick(secondary ? TrayClick::Double : TrayClick::Left); },
                     [this](QPoint position) {
                       // A pop-up needs a parent surface on Wayland; there
                       // the host shows the D-Bus menu instead.
                       if (menu_ && x11_) menu_->popup(position);
                     },
                     [this] {
                       FollowPath();
                       ReportPresence(Available());
                     }}) {}

DesktopTrayBackend::~DesktopTrayBackend() = default;

bool DesktopTrayBackend::XEmbedPath() const { return x11_ && !item_.WatcherPresent(); }

bool DesktopTrayBackend::Show(const QIcon& icon, const QString& tip) {
  if (icon.isNull()) {
    Hide();
    return false;
  }
  wanted_ = true;
  icon_ = icon;
  tip_ = tip;
  item_.Show(icon, tip);
  // Showing an icon that is already shown does nothing in Qt, so a retry
  // takes it out first.
  if (xembed_) xembed_->hide();
  FollowPath();
  return Available();
}

void DesktopTrayBackend::FollowPath() {
  if (!wanted_ || !XEmbedPath()) {
    if (xembed_) xembed_->hide();
    return;
  }
  if (!xembed_) {
    xembed_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(xembed_.get(), &QSystemTrayIcon::activated, xembed_.get(),
                     [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
  }
  xembed_->setIcon(icon_);
  xembed_->setToolTip(tip_);
  xembed_->setContextMenu(menu_);
  // Shown even while X11 has no tray: Qt embeds the XEmbed icon by itself
  // when one appears.
  xembed_->show();
}

void DesktopTrayBackend::SetToolTip(const QString& tip) {
  tip_ = tip;
  item_.SetToolTip(tip);
  if (xembed_) xembed_->setToolTip(tip);
}

void DesktopTrayBackend::Hide() {
  wanted_ = false;
  item_.Hide();
  if (xembed_) xembed_->hide();
}

void DesktopTrayBackend::SetContextMenu(QMenu* menu) {
  menu_ = menu;
  item_.SetMenu(menu);
  if (xembed_) xembed_->setContextMenu(menu);
}

bool DesktopTrayBackend::Available() const {
  return item_.Registered() || (XEmbedPath() && QSystemTrayIcon::isSystemTrayAvailable());
}

bool DesktopTrayBackend::ShowMessage(const QString& title, const QString& text) {
  if (!xembed_ || !xembed_->isVisible() || !XEmbedPath() || !QSystemTrayIcon::isSystemTrayAvailable() ||
      !QSystemTrayIcon::supportsMessages()) {
    return false;
  }
  xembed_->showMessage(title, text, QSystemTrayIcon::Information);
  return true;
}

void DesktopTrayBackend::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  // Qt reports a left press on the icon as Trigger and the second press of
  // a double-click only as DoubleClick, so a double-click arrives as one
  // click followed by one double-click. Qt opens the context menu itself.
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      ReportClick(TrayClick::Left);
      break;
    case QSystemTrayIcon::DoubleClick:
      ReportClick(TrayClick::Double);
      break;
    case QSystemTrayIcon::Context:
      ReportClick(TrayClick::Right);
      break;
    case QSystemTrayIcon::MiddleClick:
    case QSystemTrayIcon::Unknown:
      break;
  }
}

}  // namespace kestrova
