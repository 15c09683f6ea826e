#include "ui/integer_key_filter.h"

#include <algorithm>
#include <cctype>

#include "core/integer_text.h"

namespace kestrova {
namespace {

constexpr unsigned char kCarriageReturn = 13;

// The field's text with its selection replaced by `typed`.
std::string TextAfterTyping(unsigned char typed, const IntegerKeyContext& field) {
  const auto size = static_cast<int>(field.text.size());
  const int start = std::clamp(field.selectionStart, 0, size);
  const int length = std::clamp(field.selectionLength, 0, size - start);
  std::string text = field.text;
  text.replace(static_cast<std::size_t>(start), static_cast<std::size_t>(length), 1, static_cast<char>(typed));
  return text;
}

bool WithinBounds(const std::string& text, const IntegerKeyContext& field) {
  if (!field.hasMinValue && !field.hasMaxValue) {
    return true;
  }
  const std::int32_t value = LenientIntegerValue(text);
  if (field.hasMinValue && value < field.minValue) {
    return false;
  }
  return !(field.hasMaxValue && value > field.maxValue);
}

}  // namespace

bool KeepTypedCharacter(unsigned char typed, const IntegerKeyContext& field) {
  if (typed < 32) {
    return typed != kCarriageReturn;
  }
  if (typed == '-') {
    if (field.hasMinValue && field.minValue >= 0) {
      return false;
    }
    if (field.selectionStart != 0) {
      return false;
    }
  } else if (std::isdigit(typed) == 0) {
    return false;
  }
  return WithinBounds(TextAfterTyping(typed, field), field);
}

}  // namespace kestrova
