// SPDX-License-Identifier: GPL-3.0-or-later
// A user types the server's address into the field that holds the focus at
// start-up and tabs to START, which saves it: the typed address is the one
// in data.dat, whatever the field showed before.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <optional>
#include <ostream>

#include "support/temp_dir.h"
#include "window_fixture.h"

namespace kestrova::test {
namespace {

struct TypingCase {
  const char* name;
  std::optional<std::uint32_t> loaded;  // the address in data.dat at start; nothing: no file
  const char* typed;
  std::uint32_t saved;
};

void PrintTo(const TypingCase& typing, std::ostream* out) { *out << typing.name; }

constexpr std::uint32_t Dotted(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

// Line 4 of the saved file, the address as a number.
std::string SavedAddressLine(const std::string& file) {
  std::size_t start = 0;
  for (int line = 0; line < 3; ++line) {
    start = file.find("\r\n", start) + 2;
  }
  return file.substr(start, file.find("\r\n", start) - start);
}

class AddressTypingTest : public WindowTest, public ::testing::WithParamInterface<TypingCase> {};

TEST_P(AddressTypingTest, TheTypedAddressIsSaved) {
  const TypingCase& c = GetParam();
  if (c.loaded) {
    WriteFileBytes(folder_ / "data.dat", "#\r\n#\r\n#\r\n" + std::to_string(*c.loaded) +
                                             "\r\n# hostport\r\n12203\r\n# outbondport\r\n12300\r\n");
  }
  Open();
  QApplication::setActiveWindow(&Form());
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Form(), 5000));
  ASSERT_TRUE(WaitUntil([&] { return Form().IPEdit->isAncestorOf(QApplication::focusWidget()); }));

  for (const char key : std::string(c.typed)) {
    QTest::keyClicks(QApplication::focusWidget(), QString(QLatin1Char(key)));
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), Form().Button1);
  EXPECT_EQ(SavedAddressLine(ReadFileBytes(folder_ / "data.dat")), std::to_string(c.saved));
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, AddressTypingTest,
    ::testing::Values(
        TypingCase{"OverNothing", std::nullopt, "192.168.1.1", Dotted(192, 168, 1, 1)},
        TypingCase{"OverALoadedAddress", Dotted(127, 0, 0, 1), "192.168.1.1", Dotted(192, 168, 1, 1)},
        TypingCase{"TwoDigitFieldsOverALoadedAddress", Dotted(127, 0, 0, 1), "10.20.30.40", Dotted(10, 20, 30, 40)},
        TypingCase{"OneDigitFields", std::nullopt, "1.2.3.4", Dotted(1, 2, 3, 4)},
        TypingCase{"BlanksMoveOnLikeDots", std::nullopt, "10 20 30 40", Dotted(10, 20, 30, 40)},
        TypingCase{"ASecondDotIsIgnored", std::nullopt, "1..2", Dotted(1, 2, 0, 0)},
        TypingCase{"DotsAfterThreeDigits", Dotted(10, 0, 0, 1), "255.255.255.255", Dotted(255, 255, 255, 255)}),
    [](const ::testing::TestParamInfo<TypingCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrova::test
