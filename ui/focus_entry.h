// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace kestrova {

// The rule of "on enter": the focus moving to a control from another one
// (Tab, Backtab, the mouse, a shortcut, the program) enters it; the focus
// coming back to it after another window or a pop-up had it (a message box
// closed, the user switched back, a menu closed) does not. The window gives
// a first activation the focus that was set before it was shown; that one
// enters. Fed the focus changes of one control, or of a group of fields that
// count as one.
class FocusReturn final {
 public:
  // The focus left with `reason`.
  void Left(Qt::FocusReason reason) { away_ = GoesAway(reason); }
  // The focus came with `reason`: whether that enters.
  bool Enters(Qt::FocusReason reason) {
    const bool comesBack = away_ && GoesAway(reason);
    away_ = false;
    return !comesBack;
  }

 private:
  static bool GoesAway(Qt::FocusReason reason) {
    return reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason;
  }

  bool away_ = false;
};

// Runs a control's "on enter" handler after the control has taken the
// focus, for each entry by FocusReturn's rule.
class FocusEntry final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(FocusEntry)

 public:
  // Watches `control`, and lives as long as it does.
  FocusEntry(QWidget& control, std::function<void()> entered);

  // Gives the focus back to `control` without an entry (F6 from the player
  // list): the command line keeps what was typed.
  static void GiveBack(QWidget& control);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void()> entered_;
  FocusReturn return_;
  bool givingBack_ = false;
};

}  // namespace kestrova
