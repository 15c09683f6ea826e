// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <functional>

class QEvent;
class QWidget;

namespace kestrova {

// Tells when a window gets minimised, however that happens (title-bar
// button, window menu, taskbar, or the program itself). The watcher
// belongs to the window it watches.
class MinimizeWatcher final : public QObject {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(MinimizeWatcher)

 public:
  // Calls `on_minimize` each time `window` turns minimised; a window that
  // stays minimised or turns back to normal calls nothing.
  MinimizeWatcher(QWidget* window, std::function<void()> on_minimize);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  std::function<void()> on_minimize_;
};

}  // namespace kestrova
