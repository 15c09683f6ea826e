#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

// What the key filter of an integer field looks at: the field's text as
// bytes, its selection, and its bounds.
struct IntegerKeyContext {
  std::string text;
  int selectionStart = 0;   // the caret when nothing is selected
  int selectionLength = 0;  // 0 when nothing is selected
  std::int32_t minValue = 0;
  std::int32_t maxValue = 0;
  bool hasMinValue = false;
  bool hasMaxValue = false;
};

// Whether the typed character `typed` goes on to the field's ordinary
// handling (true) or is dropped (false):
// - control characters (below 32): carriage return is dropped, so Enter
//   does nothing; the others (backspace, clipboard keys) are kept;
// - a printable character that is neither a digit (isdigit of the C
//   library in the current locale) nor "-" is dropped;
// - "-" is dropped when a minimum of 0 or more applies, otherwise kept only
//   at the very beginning of the text (selection start 0);
// - a kept digit or "-" is still dropped when the lenient value of the text
//   it would make lies outside a bound that applies.
bool KeepTypedCharacter(unsigned char typed, const IntegerKeyContext& field);

}  // namespace kestrova
