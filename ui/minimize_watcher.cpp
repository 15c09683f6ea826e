// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/minimize_watcher.h"

#include <QEvent>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace kestrova {

MinimizeWatcher::MinimizeWatcher(QWidget* window, std::function<void()> on_minimize)
    : QObject(window), window_(window), on_minimize_(std::move(on_minimize)) {
  window_->installEventFilter(this);
}

bool MinimizeWatcher::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_ && event->type() == QEvent::WindowStateChange) {
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    const bool was_minimized = change->oldState().testFlag(Qt::WindowMinimized);
    if (!was_minimized && window_->isMinimized() && on_minimize_) on_minimize_();
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace kestrova
