#include "ui/integer_key_filter.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kestrova::test {
namespace {

struct KeyCase {
  const char* rule;
  unsigned char typed;
  IntegerKeyContext field;
  bool kept;
};

void PrintTo(const KeyCase& keyCase, std::ostream* out) { *out << keyCase.rule; }

IntegerKeyContext Field(std::string text, int selectionStart, int selectionLength = 0) {
  IntegerKeyContext field;
  field.text = std::move(text);
  field.selectionStart = selectionStart;
  field.selectionLength = selectionLength;
  return field;
}

IntegerKeyContext WithMin(IntegerKeyContext field, std::int32_t minValue) {
  field.hasMinValue = true;
  field.minValue = minValue;
  return field;
}

IntegerKeyContext WithMax(IntegerKeyContext field, std::int32_t maxValue) {
  field.hasMaxValue = true;
  field.maxValue = maxValue;
  return field;
}

class IntegerKeyFilterTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(IntegerKeyFilterTest, KeepsOrDrops) {
  const KeyCase& keyCase = GetParam();
  EXPECT_EQ(KeepTypedCharacter(keyCase.typed, keyCase.field), keyCase.kept) << keyCase.rule;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IntegerKeyFilterTest,
    ::testing::Values(
        KeyCase{"Enter (carriage return) is dropped", '\r', Field("12", 2), false},
        KeyCase{"backspace goes on", '\b', Field("12", 2), true},
        KeyCase{"the paste shortcut's control character goes on", 0x16, Field("12", 2), true},
        KeyCase{"a line feed is a control character and goes on", '\n', Field("", 0), true},
        KeyCase{"a digit at the end", '5', Field("12", 2), true},
        KeyCase{"a digit in the middle", '5', Field("12", 1), true},
        KeyCase{"a zero at the beginning (007 is allowed)", '0', Field("07", 0), true},
        KeyCase{"a letter", 'a', Field("12", 2), false}, KeyCase{"a blank", ' ', Field("12", 2), false},
        KeyCase{"a plus sign", '+', Field("", 0), false},
        KeyCase{"a dollar sign (hexadecimal only by pasting)", '$', Field("", 0), false},
        KeyCase{"a Latin-1 letter is no digit", 0xE9, Field("", 0), false},
        KeyCase{"DEL counts as printable and is dropped", 0x7F, Field("1", 1), false},
        KeyCase{"minus at the beginning", '-', Field("12", 0), true},
        KeyCase{"minus into an empty field", '-', Field("", 0), true},
        KeyCase{"minus at the beginning of a text that has one", '-', Field("-12", 0), true},
        KeyCase{"minus replacing a selection from the beginning", '-', Field("12", 0, 2), true},
        KeyCase{"minus after the first character", '-', Field("12", 1), false},
        KeyCase{"minus at the end", '-', Field("12", 2), false},
        KeyCase{"minus with a minimum of 0", '-', WithMin(Field("", 0), 0), false},
        KeyCase{"minus with a positive minimum", '-', WithMin(Field("5", 0), 3), false},
        KeyCase{"minus with a negative minimum, within it", '-', WithMin(Field("5", 0), -10), true},
        KeyCase{"minus with a negative minimum, beyond it", '-', WithMin(Field("50", 0), -10), false},
        KeyCase{"minus with only a maximum", '-', WithMax(Field("5", 0), 100), true},
        KeyCase{"a digit beyond the maximum", '9', WithMax(Field("10", 2), 100), false},
        KeyCase{"a digit within the maximum", '9', WithMax(Field("10", 2), 200), true},
        KeyCase{"a digit below the minimum", '5', WithMin(Field("", 0), 10), false},
        KeyCase{"a digit replacing the selection is checked on the new text", '7', WithMax(Field("150", 0, 3), 100),
                true},
        KeyCase{"a digit making a non-number (lenient 0) within the bounds", '5', WithMax(Field("x", 1), 100), true},
        KeyCase{"no bound in force: a number too long for 32 bits is typed on", '9', Field("9999999999", 10), true},
        KeyCase{"control characters skip the bounds", '\b', WithMax(Field("500", 3), 100), true}));

}  // namespace
}  // namespace kestrova::test
