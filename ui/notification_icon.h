// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>

#include "core/display_model.h"
#include "ui/tray_backend.h"

class QMenu;
class QWidget;

namespace kestrova {

// The program's icon in the desktop's notification area. It is put there
// when the object is made and taken out when it goes, and handles clicks
// all the while. Its tip follows the
// hint; a left click raises OnClick, a left double-click raises one
// OnClick (the first press) and then OnDblClick, a right click opens the
// popup menu. It also hides the main window into the tray and brings it
// back.
class TNotificationIcon final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TNotificationIcon)

 public:
  // The longest tip, in characters, that the notification area shows.
  static constexpr std::size_t kMaxTipLength = 127;

  // Adds `icon` with the hint "Kestrova" to the notification area that
  // `backend` reaches. An empty icon, or a desktop without a notification
  // area, leaves the icon absent; the next change of the hint retries.
  TNotificationIcon(QObject* parent, std::unique_ptr<TrayBackend> backend, const QIcon& icon);
  // The same, in the desktop's notification area (DesktopTrayBackend on
  // the session bus).
  TNotificationIcon(QObject* parent, const QIcon& icon);
  // Takes the icon out of the notification area.
  ~TNotificationIcon() override;

  // Whether the icon sits in a notification area: the result of the last
  // add or of an area that took or lost it since, cleared by a removal.
  bool Present() const { return present_; }

  // Sets the hint. A text equal to the current hint, byte for byte,
  // changes nothing and does not reach the notification area; another
  // text is stored and the tip changed, or, while the icon is absent, the
  // icon is added again.
  void SetHint(const std::string& text);
  const std::string& Hint() const { return hint_; }

  // Shows a passing message titled `title` from the icon while it is
  // present in a notification area that can show messages; returns
  // whether it was shown. Without one nothing is shown and nothing fails.
  bool ShowMessage(const QString& title, const QString& text);

  // A line the tip shows below the hint's text (none when empty), for what
  // the program wants said beside the server's texts; the hint stays as it
  // is.
  void SetTipNote(const QString& note);

  // The menu that a right click opens; not owned, nullptr for none. Its
  // default action, when enabled, runs on a double-click instead of
  // OnDblClick.
  void SetPopupMenu(QMenu* menu);

  // Hides `window` together with its taskbar entry, so that only the icon
  // remains. Does so only while the icon is really present in a
  // notification area (an absent one is added first if the desktop now
  // offers an area); otherwise `window` is left as it is, so a minimised
  // window stays reachable from the taskbar. Returns whether it hid. Should
  // the area lose the icon while `window` is hidden in it, the window comes
  // back minimised.
  bool HideMainForm(QWidget* window);
  // Takes `window` out of the minimised state (if it is in it), shows it
  // and brings it to the front.
  static void RestoreMainForm(QWidget* window);

  // The tip the notification area shows for `hint`: the hint up to its
  // first "|" (all of it without one), cut to kMaxTipLength characters,
  // each byte taken as a Latin-1 character; the hint's line separators
  // (LF CR) are shown as line breaks.
  static QString TipText(const std::string& hint);

 Q_SIGNALS:
  // A left click on the icon.
  void OnClick();
  // A left double-click on the icon, when the menu has no enabled default
  // action.
  void OnDblClick();

 private:
  void Add();
  void HandleClick(TrayClick click);
  void HandlePresence(bool present);
  QString ShownTip() const;

  std::unique_ptr<TrayBackend> backend_;
  QIcon icon_;
  std::string hint_ = kInitialHint;
  QString note_;
  QPointer<QMenu> menu_;
  QPointer<QWidget> hiddenWindow_;
  bool present_ = false;
};

}  // namespace kestrova
