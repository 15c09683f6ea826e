// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

namespace kestrova {

// While it lives, assistive technology is told nothing of `object`; what
// other objects do reaches it as before. For a change made while Qt has
// yet to announce a new focus, which screen readers would otherwise take
// for the focus move itself. One at a time, on the window's thread.
class QuietAccessibility final {
 public:
  explicit QuietAccessibility(const QObject* object) {
    previous_ = QAccessible::installUpdateHandler(&Pass);
    quiet_ = object;
  }
  ~QuietAccessibility() {
    QAccessible::installUpdateHandler(previous_);
    quiet_ = nullptr;
  }
  QuietAccessibility(const QuietAccessibility&) = delete;
  QuietAccessibility& operator=(const QuietAccessibility&) = delete;

 private:
  static void Pass(QAccessibleEvent* event) {
    if (event->object() == quiet_) {
      return;
    }
    const QAccessible::UpdateHandler self = QAccessible::installUpdateHandler(previous_);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(self);
  }

  static inline const QObject* quiet_ = nullptr;
  static inline QAccessible::UpdateHandler previous_ = nullptr;
};

}  // namespace kestrova
