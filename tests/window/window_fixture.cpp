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

void WindowTest::Open(BuildKind build) {
  form_ = std::make_unique<TForm1>(
      build, FormServices{errors_, confirmation_, clock_, folder_.Path(), std::make_unique<RecordingTray>(tray_),
                          QString(), nullptr, std::make_unique<RecordingNotifier>(tray_)});
  form_->FormCreate();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
}

void WindowTest::PointAt(int gamePort, int queryPort) {
  form_->IPEdit->SetAddress(0x7F000001);
  form_->Edit2->setText(QString::number(gamePort));
  form_->Edit3->setText(QString::number(queryPort));
}

void WindowTest::ClickStart() { QTest::mouseClick(form_->Button1, Qt::LeftButton); }

}  // namespace kestrova::test
