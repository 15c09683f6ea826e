// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestrova {

// Whether the typed character `typed` goes on to an integer field's
// ordinary handling (true) or is dropped (false), the field's selection
// (or its caret, when nothing is selected) starting at `selectionStart`:
// - control characters (below 32): carriage return is dropped, so Enter
//   does nothing; the others (backspace, clipboard keys) are kept;
// - a printable character that is neither a digit (isdigit of the C
//   library in the current locale) nor "-" is dropped;
// - "-" is kept only at the very beginning of the text (selection start 0).
// No field has a bound, so the lenient value of the text a character would
// make never drops it.
bool KeepTypedCharacter(unsigned char typed, int selectionStart);

}  // namespace kestrova
