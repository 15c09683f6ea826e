// SPDX-License-Identifier: GPL-3.0-or-later
// The one QApplication of the widgets suite, on the offscreen platform
// unless the caller chose another. Every file of the suite may add such an
// environment; the first to run makes the application.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace kestrova::test {
namespace {

class WidgetsApplicationEnvironment final : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance() != nullptr) {
      return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
      qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    application_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override { application_.reset(); }

 private:
  int argc_ = 1;
  char name_[16] = "widgets_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> application_;
};

[[maybe_unused]] ::testing::Environment* const kApplication =
    ::testing::AddGlobalTestEnvironment(new WidgetsApplicationEnvironment);

}  // namespace
}  // namespace kestrova::test
