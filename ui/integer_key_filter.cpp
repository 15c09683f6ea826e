// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/integer_key_filter.h"

#include <cctype>

namespace kestrova {

namespace {

constexpr unsigned char kCarriageReturn = 13;

}  // namespace

bool KeepTypedCharacter(unsigned char typed, int selectionStart) {
  if (typed < 32) {
    return typed != kCarriageReturn;
  }
  if (typed == '-') {
    return selectionStart == 0;
  }
  return std::isdigit(typed) != 0;
}

}  // namespace kestrova
