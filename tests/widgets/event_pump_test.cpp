// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <thread>

#include "ui/qt_event_pump.h"

namespace kestrova::test {
namespace {

void PostCall(QObject& context, std::function<void()> call) {
  QMetaObject::invokeMethod(&context, std::move(call), Qt::QueuedConnection);
}

TEST(HandleAllPendingEvents, RunsEventsPostedByEvents) {
  QObject context;
  std::vector<int> ran;
  PostCall(context, [&] {
    ran.push_back(1);
    PostCall(context, [&] {
      ran.push_back(2);
      PostCall(context, [&] { ran.push_back(3); });
    });
  });
  HandleAllPendingEvents();
  EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(HandleAllPendingEvents, DeliversATimerTickThatIsDue) {
  QTimer timer;
  timer.setSingleShot(true);
  int ticks = 0;
  QObject::connect(&timer, &QTimer::timeout, &timer, [&] { ++ticks; });
  timer.start(20);
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < 60) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  HandleAllPendingEvents();
  EXPECT_EQ(ticks, 1);
}

TEST(HandleAllPendingEvents, ReturnsWhileATimerIsAlwaysDue) {
  QTimer timer;
  int ticks = 0;
  QObject::connect(&timer, &QTimer::timeout, &timer, [&] { ++ticks; });
  timer.start(0);
  HandleAllPendingEvents();
  timer.stop();
  EXPECT_GE(ticks, 1);
}

}  // namespace
}  // namespace kestrova::test
