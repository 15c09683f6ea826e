// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_event_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>

namespace kestrova {
namespace {

// A queue that refills itself (a 0 ms timer, an event that posts another)
// would never run dry; the wait goes on after this many rounds.
constexpr int kMaxRounds = 200;

}  // namespace

void HandleAllPendingEvents() {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
  if (dispatcher == nullptr) {
    return;
  }
  for (int round = 0; round < kMaxRounds; ++round) {
    QCoreApplication::sendPostedEvents();
    if (!dispatcher->processEvents(QEventLoop::AllEvents)) {
      return;
    }
  }
}

}  // namespace kestrova
