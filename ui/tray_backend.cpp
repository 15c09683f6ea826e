#include "ui/tray_backend.h"

#include <QIcon>
#include <QMenu>
#include <QString>

namespace kestrova {

QtTrayBackend::QtTrayBackend() {
  QObject::connect(&tray_, &QSystemTrayIcon::activated, &tray_,
                   [this](QSystemTrayIcon::ActivationReason reason) { OnActivated(reason); });
}

QtTrayBackend::~QtTrayBackend() = default;

bool QtTrayBackend::Show(const QIcon& icon, const QString& tip) {
  // Showing an icon that is already shown does nothing in Qt, so a retry
  // has to take it out first.
  tray_.hide();
  if (icon.isNull()) return false;
  tray_.setIcon(icon);
  tray_.setToolTip(tip);
  // Shown even without a notification area: Qt embeds the icon by itself
  // if one appears later.
  tray_.show();
  return QSystemTrayIcon::isSystemTrayAvailable() && tray_.isVisible();
}

void QtTrayBackend::SetToolTip(const QString& tip) { tray_.setToolTip(tip); }

void QtTrayBackend::Hide() { tray_.hide(); }

void QtTrayBackend::SetContextMenu(QMenu* menu) { tray_.setContextMenu(menu); }

bool QtTrayBackend::Available() const { return QSystemTrayIcon::isSystemTrayAvailable(); }

bool QtTrayBackend::ShowMessage(const QString& title, const QString& text) {
  if (!tray_.isVisible() || !QSystemTrayIcon::isSystemTrayAvailable() || !QSystemTrayIcon::supportsMessages()) {
    return false;
  }
  tray_.showMessage(title, text, QSystemTrayIcon::Information);
  return true;
}

void QtTrayBackend::OnActivated(QSystemTrayIcon::ActivationReason reason) {
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
