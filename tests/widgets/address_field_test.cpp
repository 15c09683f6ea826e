// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/address_field.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QLineEdit>
#include <QStringList>
#include <QTest>
#include <QValidator>

#include "widget_host.h"

namespace kestrova::test {
namespace {

constexpr std::uint32_t Dotted(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
  return (a << 24) | (b << 16) | (c << 8) | d;
}

// The address field between two other controls, in tab order
// before -> address -> after.
class AddressFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    before_ = new QLineEdit(&window_);
    before_->setObjectName(QStringLiteral("before"));
    before_->setGeometry(2, 2, 60, 21);
    address_ = new AddressField(&window_);
    address_->setGeometry(70, 2, 92, 21);
    after_ = new QLineEdit(&window_);
    after_->setObjectName(QStringLiteral("after"));
    after_->setGeometry(170, 2, 60, 21);
    QWidget::setTabOrder(before_, address_);
    QWidget::setTabOrder(address_, after_);
    for (int index = 0; index < 4; ++index) {
      fields_[index] = address_->findChild<QLineEdit*>(QStringLiteral("Field%1").arg(index + 1));
      ASSERT_NE(fields_[index], nullptr);
    }
    ASSERT_TRUE(ShowActive(window_));
  }

  // What the control shows, fields joined by dots.
  QString Shown() const {
    QStringList parts;
    for (const QLineEdit* field : fields_) {
      parts << field->text();
    }
    return parts.join(QLatin1Char('.'));
  }

  // Enters the control as Tab does (its first field, all selected).
  void Enter() {
    before_->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(before_, Qt::Key_Tab);
  }

  // Empties every field with the keyboard, as a user would.
  void ClearByKeys() {
    for (QLineEdit* field : fields_) {
      field->setFocus(Qt::MouseFocusReason);
      QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(field, Qt::Key_Backspace);
    }
  }

  QLineEdit* Focused() const { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

  QWidget window_;
  QLineEdit* before_ = nullptr;
  AddressField* address_ = nullptr;
  QLineEdit* after_ = nullptr;
  std::array<QLineEdit*, 4> fields_{};
};

TEST_F(AddressFieldTest, StartsAsZeroShownInAllFour) {
  EXPECT_EQ(address_->Address(), 0u);
  EXPECT_EQ(Shown(), QStringLiteral("0.0.0.0"));
}

TEST_F(AddressFieldTest, FirstFieldTypedAloneCountsAtOnceAndFillsTheRestWhenLeft) {
  ClearByKeys();
  fields_[0]->setFocus(Qt::MouseFocusReason);
  TypeIntoFocus(QStringLiteral("10"));
  EXPECT_EQ(address_->Address(), Dotted(10, 0, 0, 0));
  EXPECT_EQ(Shown(), QStringLiteral("10..."));

  after_->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(Shown(), QStringLiteral("10.0.0.0"));
  EXPECT_EQ(address_->Address(), Dotted(10, 0, 0, 0));
}

TEST_F(AddressFieldTest, ClearedEntirelyStaysBlankWithAddressZero) {
  address_->SetAddress(Dotted(127, 0, 0, 1));
  ClearByKeys();
  EXPECT_EQ(address_->Address(), 0u);
  after_->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(Shown(), QStringLiteral("..."));
  EXPECT_EQ(address_->Address(), 0u);
}

TEST_F(AddressFieldTest, MovingBetweenItsOwnFieldsIsNoLeaving) {
  ClearByKeys();
  fields_[0]->setFocus(Qt::MouseFocusReason);
  TypeIntoFocus(QStringLiteral("10"));
  fields_[2]->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(Shown(), QStringLiteral("10..."));
}

TEST_F(AddressFieldTest, SetAddressShowsAllFourNumbers) {
  address_->SetAddress(Dotted(192, 168, 1, 1));
  EXPECT_EQ(Shown(), QStringLiteral("192.168.1.1"));
  EXPECT_EQ(address_->Address(), 3232235777u);
  EXPECT_EQ(address_->AddressValues(), (std::array<std::uint8_t, 4>{192, 168, 1, 1}));
}

TEST_F(AddressFieldTest, SetAddressOfTheHeldNumberLeavesBlankFieldsBlank) {
  ClearByKeys();
  address_->SetAddress(0);
  EXPECT_EQ(Shown(), QStringLiteral("..."));
}

TEST_F(AddressFieldTest, DotMovesToTheNextField) {
  Enter();
  TypeIntoFocus(QStringLiteral("1.2.3.4"));
  EXPECT_EQ(Shown(), QStringLiteral("1.2.3.4"));
  EXPECT_EQ(address_->Address(), Dotted(1, 2, 3, 4));
}

TEST_F(AddressFieldTest, ThirdDigitMovesToTheNextField) {
  Enter();
  TypeIntoFocus(QStringLiteral("192168"));
  EXPECT_EQ(Shown(), QStringLiteral("192.168.0.0"));
  EXPECT_EQ(Focused(), fields_[2]);
}

TEST_F(AddressFieldTest, NumberAbove255BecomesTheHighest) {
  Enter();
  TypeIntoFocus(QStringLiteral("300"));
  EXPECT_EQ(fields_[0]->text(), QStringLiteral("255"));
  EXPECT_EQ(address_->Address(), Dotted(255, 0, 0, 0));
}

TEST_F(AddressFieldTest, OnlyDigitsAreTyped) {
  Enter();
  TypeIntoFocus(QStringLiteral("1a-"));
  EXPECT_EQ(fields_[0]->text(), QStringLiteral("1"));
}

// What a field takes however it comes in: up to three digits 0-9, whole
// or not at all.
TEST_F(AddressFieldTest, FieldsTakeUpToThreeDigitsAndNothingElse) {
  const struct {
    QString text;
    bool taken;
  } cases[] = {
      {QString(), true},
      {QStringLiteral("7"), true},
      {QStringLiteral("042"), true},
      {QStringLiteral("999"), true},  // taken as typed; above 255 is lowered once edited
      {QStringLiteral("1234"), false},
      {QStringLiteral("1a"), false},
      {QStringLiteral(" 1"), false},
      {QStringLiteral("-1"), false},
      {QStringLiteral("1.2"), false},
      {QString(QChar(0x0661)), false},  // ARABIC-INDIC DIGIT ONE
      {QString(QChar(0xFF11)), false},  // FULLWIDTH DIGIT ONE
  };
  const QValidator* validator = fields_[1]->validator();
  ASSERT_NE(validator, nullptr);
  for (const auto& entry : cases) {
    QString text = entry.text;
    int position = static_cast<int>(text.size());
    EXPECT_EQ(validator->validate(text, position), entry.taken ? QValidator::Acceptable : QValidator::Invalid)
        << entry.text.toStdString();
  }
}

TEST_F(AddressFieldTest, PastingKeepsOutAnythingButDigits) {
  Enter();
  QApplication::clipboard()->setText(QStringLiteral("1x"));
  QTest::keyClick(Focused(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(fields_[0]->text(), QStringLiteral("0"));
  QApplication::clipboard()->setText(QStringLiteral("42"));
  QTest::keyClick(Focused(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(fields_[0]->text(), QStringLiteral("42"));
  EXPECT_EQ(address_->Address(), Dotted(42, 0, 0, 0));
}

TEST_F(AddressFieldTest, BackspaceAtTheStartGoesBackAFieldAndDeletesThere) {
  Enter();
  TypeIntoFocus(QStringLiteral("12."));
  QTest::keyClick(Focused(), Qt::Key_Backspace);  // empties the selected second field
  QTest::keyClick(Focused(), Qt::Key_Backspace);  // back into the first
  QTest::keyClick(Focused(), Qt::Key_Backspace);
  EXPECT_EQ(Shown(), QStringLiteral("1..0.0"));
  EXPECT_EQ(address_->Address(), Dotted(1, 0, 0, 0));
}

TEST_F(AddressFieldTest, IsOneTabStop) {
  Enter();
  EXPECT_EQ(Focused(), fields_[0]);
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), after_);
  QTest::keyClick(after_, Qt::Key_Backtab);
  EXPECT_EQ(Focused(), fields_[0]);
  QTest::keyClick(Focused(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), before_);
}

TEST_F(AddressFieldTest, TabFromALaterFieldLeavesTheControl) {
  fields_[2]->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(fields_[2], Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), after_);
  fields_[3]->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(fields_[3], Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), before_);
}

TEST_F(AddressFieldTest, TabSkipsADisabledNeighbour) {
  auto* last = new QLineEdit(&window_);
  last->setGeometry(240, 2, 40, 21);
  last->show();
  QWidget::setTabOrder(after_, last);
  after_->setEnabled(false);
  Enter();
  QTest::keyClick(Focused(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), last);
}

TEST_F(AddressFieldTest, DisablingDisablesEveryField) {
  address_->setEnabled(false);
  for (const QLineEdit* field : fields_) {
    EXPECT_FALSE(field->isEnabled());
  }
  address_->setEnabled(true);
  EXPECT_TRUE(fields_[3]->isEnabled());
}

}  // namespace
}  // namespace kestrova::test
