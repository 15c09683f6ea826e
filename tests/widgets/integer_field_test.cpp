// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/integer_field.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <ostream>

#include "widget_host.h"

namespace kestrova::test {
namespace {

class IntegerFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    field_ = new IntegerField(&window_);
    field_->setGeometry(2, 2, 41, 21);
    ASSERT_TRUE(ShowActive(window_));
    field_->setFocus();
  }

  // Puts the caret at `position` and types `keys`.
  void TypeAt(int position, const QString& keys) {
    field_->setCursorPosition(position);
    QTest::keyClicks(field_, keys);
  }

  QWidget window_;
  IntegerField* field_ = nullptr;
};

TEST_F(IntegerFieldTest, LettersDoNotShowDigitsDo) {
  QTest::keyClicks(field_, QStringLiteral("1a2 b+3"));
  EXPECT_EQ(field_->text(), QStringLiteral("123"));
}

TEST_F(IntegerFieldTest, DigitsShowAnywhere) {
  field_->setText(QStringLiteral("12"));
  TypeAt(0, QStringLiteral("9"));
  TypeAt(2, QStringLiteral("5"));
  EXPECT_EQ(field_->text(), QStringLiteral("9152"));
}

TEST_F(IntegerFieldTest, MinusOnlyAtTheBeginning) {
  field_->setText(QStringLiteral("12"));
  TypeAt(2, QStringLiteral("-"));
  TypeAt(1, QStringLiteral("-"));
  EXPECT_EQ(field_->text(), QStringLiteral("12"));
  TypeAt(0, QStringLiteral("-"));
  EXPECT_EQ(field_->text(), QStringLiteral("-12"));
  TypeAt(0, QStringLiteral("-"));  // a second one at the beginning stays too
  EXPECT_EQ(field_->text(), QStringLiteral("--12"));
}

TEST_F(IntegerFieldTest, EnterChangesNothing) {
  field_->setText(QStringLiteral("12203"));
  QSignalSpy returned(field_, &QLineEdit::returnPressed);
  QSignalSpy finished(field_, &QLineEdit::editingFinished);
  QTest::keyClick(field_, Qt::Key_Return);
  QTest::keyClick(field_, Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(field_->text(), QStringLiteral("12203"));
  EXPECT_EQ(returned.count(), 0);
  EXPECT_EQ(finished.count(), 0);
}

TEST_F(IntegerFieldTest, BackspaceAndCaretKeysWork) {
  QTest::keyClicks(field_, QStringLiteral("123"));
  QTest::keyClick(field_, Qt::Key_Left);
  QTest::keyClick(field_, Qt::Key_Backspace);
  EXPECT_EQ(field_->text(), QStringLiteral("13"));
}

TEST_F(IntegerFieldTest, PasteIsNotFiltered) {
  QGuiApplication::clipboard()->setText(QStringLiteral("12a"));
  QTest::keyClick(field_, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(field_->text(), QStringLiteral("12a"));
  EXPECT_EQ(field_->Value(), 0);
  QTest::keyClick(field_, Qt::Key_Z, Qt::ControlModifier);  // undo
  EXPECT_EQ(field_->text(), QString());
}

// The disabled field as drawn: its background is that of an enabled field
// (the window background, not the form's grey), and a text too long for it
// shows from its first character, as a field holding only that start does.
TEST_F(IntegerFieldTest, DisabledFieldShowsTheStartOfItsTextOnTheFieldBackground) {
  EXPECT_EQ(field_->alignment(), Qt::AlignRight | Qt::AlignVCenter);
  const QColor enabledBackground = field_->palette().color(QPalette::Active, QPalette::Base);
  ASSERT_NE(enabledBackground, field_->palette().color(QPalette::Active, QPalette::Window));
  field_->clear();
  QTest::keyClicks(field_, QStringLiteral("123456789012345"));  // the caret ends behind the last digit
  auto* start = new IntegerField(&window_);
  start->setGeometry(2, 30, 41, 21);
  start->setText(QStringLiteral("1234"));
  start->show();

  field_->setEnabled(false);
  start->setEnabled(false);
  EXPECT_EQ(field_->alignment(), Qt::AlignLeft | Qt::AlignTop);
  const QImage drawn = field_->grab().toImage();
  const QImage startDrawn = start->grab().toImage();
  ASSERT_EQ(drawn.size(), startDrawn.size());
  // Far right inside the frame, below the text: background only.
  EXPECT_EQ(drawn.pixelColor(drawn.width() - 4, drawn.height() - 4).name(), enabledBackground.name());
  // "1234" fills the left half of the field in both.
  const int half = drawn.width() / 2;
  EXPECT_TRUE(drawn.copy(0, 0, half, drawn.height()) == startDrawn.copy(0, 0, half, startDrawn.height()))
      << "the long text does not show from its first character";

  field_->setEnabled(true);
  EXPECT_EQ(field_->alignment(), Qt::AlignRight | Qt::AlignVCenter);
}

TEST_F(IntegerFieldTest, DisabledWithItsWindowAndBack) {
  window_.setEnabled(false);
  EXPECT_EQ(field_->alignment(), Qt::AlignLeft | Qt::AlignTop);
  window_.setEnabled(true);
  EXPECT_EQ(field_->alignment(), Qt::AlignRight | Qt::AlignVCenter);
}

struct ValueCase {
  const char* text;
  std::int32_t value;
};

void PrintTo(const ValueCase& valueCase, std::ostream* out) { *out << '"' << valueCase.text << '"'; }

class IntegerFieldValueTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(IntegerFieldValueTest, ReadsTheTextLeniently) {
  IntegerField field;
  field.setText(QString::fromLatin1(GetParam().text));
  EXPECT_EQ(field.Value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, IntegerFieldValueTest,
                         ::testing::Values(ValueCase{"", 0}, ValueCase{"12a", 0}, ValueCase{"$2FAB", 12203},
                                           ValueCase{"007", 7}, ValueCase{"-12", -12}, ValueCase{" 12", 12},
                                           ValueCase{"12 ", 0}, ValueCase{"--12", 0}, ValueCase{"99999999999", 0}));

TEST(IntegerFieldSetValue, WritesDecimal) {
  IntegerField field;
  field.SetValue(12203);
  EXPECT_EQ(field.text(), QStringLiteral("12203"));
  field.SetValue(-7);
  EXPECT_EQ(field.text(), QStringLiteral("-7"));
}

}  // namespace
}  // namespace kestrova::test
