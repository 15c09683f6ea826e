// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QIcon>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <functional>
#include <memory>

#include "ui/status_notifier_item.h"

class QMenu;

namespace kestrova {

// The mouse actions on the tray icon that the program reacts to.
enum class TrayClick { Left, Double, Right };

// The notification area as the tray icon sees it: put an icon with a tip
// into it, change the tip, take it out, and hear about clicks on it and
// about areas that come and go. The real one is DesktopTrayBackend; tests
// substitute a recorder.
class TrayBackend {
 public:
  using ClickHandler = std::function<void(TrayClick)>;
  using PresenceHandler = std::function<void(bool present)>;

  virtual ~TrayBackend() = default;

  // Removes any icon shown before, then adds `icon` with the tip `tip`.
  // Returns whether the icon is now present in a notification area: false
  // when the image is empty or the desktop has no notification area (yet:
  // an area that appears later takes the icon and reports its presence).
  virtual bool Show(const QIcon& icon, const QString& tip) = 0;
  // Changes the tip of the icon shown.
  virtual void SetToolTip(const QString& tip) = 0;
  // Takes the icon out of the notification area; harmless when absent.
  virtual void Hide() = 0;
  // The menu that a right click on the icon opens; nullptr for none. The
  // menu is not owned.
  virtual void SetContextMenu(QMenu* menu) = 0;
  // Whether the desktop offers a notification area right now that holds
  // the icon or would take it.
  virtual bool Available() const = 0;
  // Shows a passing message from the icon (the desktop's notification
  // service where there is one). Returns whether the desktop took it:
  // false, with nothing shown, where it has no notification area or no
  // way to show messages.
  virtual bool ShowMessage(const QString& title, const QString& text) = 0;

  // Every click on the icon goes to `handler` (replacing the one before).
  void SetClickHandler(ClickHandler handler) { handler_ = std::move(handler); }
  // Told whether the shown icon is present each time a notification area
  // takes it or loses it after Show returned.
  void SetPresenceHandler(PresenceHandler handler) { presenceHandler_ = std::move(handler); }

 protected:
  // For implementations: hands one click to the handler, if there is one.
  void ReportClick(TrayClick click) const {
    if (handler_) handler_(click);
  }
  void ReportPresence(bool present) const {
    if (presenceHandler_) presenceHandler_(present);
  }

 private:
  ClickHandler handler_;
  PresenceHandler presenceHandler_;
};

// The desktop's notification area: a StatusNotifierItem while a
// StatusNotifierWatcher is on `bus` (registered whenever one appears),
// otherwise, on X11 only, an XEmbed icon through QSystemTrayIcon, which Qt
// embeds by itself when an XEmbed tray appears later. Never both at once.
// Where neither exists (Wayland without a watcher) nothing is shown and Qt's
// tray is never touched, so nothing is warned either.
class DesktopTrayBackend final : public TrayBackend {
 public:
  explicit DesktopTrayBackend(const QDBusConnection& bus);
  ~DesktopTrayBackend() override;
  DesktopTrayBackend(const DesktopTrayBackend&) = delete;
  DesktopTrayBackend& operator=(const DesktopTrayBackend&) = delete;

  bool Show(const QIcon& icon, const QString& tip) override;
  void SetToolTip(const QString& tip) override;
  void Hide() override;
  void SetContextMenu(QMenu* menu) override;
  bool Available() const override;
  // Only the XEmbed icon shows messages of its own.
  bool ShowMessage(const QString& title, const QString& text) override;

 private:
  bool XEmbedPath() const;
  // Shows or hides the XEmbed icon as the path and the wish say.
  void FollowPath();
  void OnActivated(QSystemTrayIcon::ActivationReason reason);

  const bool x11_;
  bool wanted_ = false;
  QIcon icon_;
  QString tip_;
  QPointer<QMenu> menu_;
  StatusNotifierItem item_;
  // Made on first use: making it fixes Qt's one choice of tray kind for
  // the process, which must fall while no watcher is on the bus.
  std::unique_ptr<QSystemTrayIcon> xembed_;
};

}  // namespace kestrova
