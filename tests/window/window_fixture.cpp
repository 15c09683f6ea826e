// SPDX-License-Identifier: GPL-3.0-or-later
#include "window_fixture.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include "ui/address_field.h"
#include "ui/integer_field.h"
#include "ui/text_bytes.h"

namespace kestrova::test {

void EnsureApplication() {
  if (QApplication::instance() != nullptr) {
    return;
  }
  static int argc = 1;
  static char name[] = "window_tests";
  static char* argv[] = {name, nullptr};
  // Kept for the whole test program: Qt objects of later tests need it.
  new QApplication(argc, argv);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      return false;
    }
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

void Pump(std::chrono::milliseconds duration) {
  WaitUntil([] { return false; }, duration);
}

FormServices WindowTest::Services(Confirmation& confirmation, const std::filesystem::path& folder,
                                  const QString& settingsFile) {
  std::unique_ptr<DrivenTicks> ticks;
  if (!realTime_) {
    ticks = std::make_unique<DrivenTicks>();
    ticks_ = ticks.get();
  }
  return FormServices{errors_,
                      confirmation,
                      clock_,
                      folder,
                      std::make_unique<RecordingTray>(tray_),
                      settingsFile,
                      realTime_ ? nullptr : &steady_,
                      std::make_unique<RecordingNotifier>(tray_),
                      std::move(ticks),
                      receiveTimeoutMs_};
}

void WindowTest::Open(BuildKind build, FormServices services) {
  form_ = std::make_unique<TForm1>(build, std::move(services));
  form_->FormCreate();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
}

void WindowTest::Tick(int count) {
  for (int i = 0; i < count; ++i) {
    const std::chrono::milliseconds span(ticks_->Interval());
    if (beforeTick_) {
      beforeTick_(span);
    }
    steady_.Advance(span);
    ticks_->Fire();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

bool WindowTest::TickUntil(const std::function<bool()>& condition, int most) {
  for (int i = 0; i < most && !condition(); ++i) {
    Tick();
  }
  return condition();
}

void WindowTest::PointAt(int gamePort, int queryPort) {
  form_->IPEdit->SetAddress(0x7F000001);
  form_->Edit2->setText(QString::number(gamePort));
  form_->Edit3->setText(QString::number(queryPort));
}

void WindowTest::ClickStart() { QTest::mouseClick(form_->Button1, Qt::LeftButton); }

}  // namespace kestrova::test
