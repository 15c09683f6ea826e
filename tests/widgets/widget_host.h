// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QWidget>
#include <functional>
#include <ostream>

// Failure messages show QStrings as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace kestrova::test {

// Handles window events until `condition` holds or five seconds have
// passed; returns whether it holds.
inline bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 5000); }

// Shows `window` and makes it the active window, so that its widgets take
// the keyboard focus. Returns whether that succeeded in time.
inline bool ShowActive(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window, 5000);
}

// Types `keys` one by one into whichever widget has the focus at each key,
// as a user would.
inline void TypeIntoFocus(const QString& keys) {
  for (const QChar key : keys) {
    QTest::keyClicks(QApplication::focusWidget(), QString(key));
  }
}

}  // namespace kestrova::test
