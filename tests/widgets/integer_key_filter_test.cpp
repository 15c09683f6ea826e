// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/integer_key_filter.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kestrova::test {
namespace {

struct KeyCase {
  const char* rule;
  unsigned char typed;
  int selectionStart;
  bool kept;
};

void PrintTo(const KeyCase& keyCase, std::ostream* out) { *out << keyCase.rule; }

class IntegerKeyFilterTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(IntegerKeyFilterTest, KeepsOrDrops) {
  const KeyCase& keyCase = GetParam();
  EXPECT_EQ(KeepTypedCharacter(keyCase.typed, keyCase.selectionStart), keyCase.kept) << keyCase.rule;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, IntegerKeyFilterTest,
    ::testing::Values(KeyCase{"Enter (carriage return) is dropped", '\r', 2, false},
                      KeyCase{"backspace goes on", '\b', 2, true},
                      KeyCase{"the paste shortcut's control character goes on", 0x16, 2, true},
                      KeyCase{"a line feed is a control character and goes on", '\n', 0, true},
                      KeyCase{"a digit at the end", '5', 2, true}, KeyCase{"a digit in the middle", '5', 1, true},
                      KeyCase{"a zero at the beginning (007 is allowed)", '0', 0, true},
                      KeyCase{"a letter", 'a', 2, false}, KeyCase{"a blank", ' ', 2, false},
                      KeyCase{"a plus sign", '+', 0, false},
                      KeyCase{"a dollar sign (hexadecimal only by pasting)", '$', 0, false},
                      KeyCase{"a Latin-1 letter is no digit", 0xE9, 0, false},
                      KeyCase{"DEL counts as printable and is dropped", 0x7F, 1, false},
                      KeyCase{"minus at the beginning, or replacing a selection from there", '-', 0, true},
                      KeyCase{"minus after the first character", '-', 1, false},
                      KeyCase{"minus at the end", '-', 2, false}));

}  // namespace
}  // namespace kestrova::test
