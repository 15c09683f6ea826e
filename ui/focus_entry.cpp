// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/focus_entry.h"

#include <QFocusEvent>
#include <QWidget>

namespace kestrova {

FocusEntry::FocusEntry(QWidget& control, std::function<void()> entered)
    : QObject(&control), entered_(std::move(entered)) {
  control.installEventFilter(this);
}

void FocusEntry::GiveBack(QWidget& control) {
  FocusEntry* entry = control.findChild<FocusEntry*>(QString(), Qt::FindDirectChildrenOnly);
  if (entry != nullptr) {
    entry->givingBack_ = true;
  }
  control.setFocus(Qt::OtherFocusReason);
  if (entry != nullptr) {
    entry->givingBack_ = false;
  }
}

bool FocusEntry::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    return_.Left(static_cast<QFocusEvent*>(event)->reason());
  } else if (event->type() == QEvent::FocusIn) {
    const bool enters = return_.Enters(static_cast<QFocusEvent*>(event)->reason());
    if (enters && !givingBack_) {
      // The control takes the focus first: a line edit selects its text
      // on a keyboard entry, which the handler may then change.
      watched->event(event);
      entered_();
      return true;
    }
  }
  return false;
}

}  // namespace kestrova
