#include "core/caption_order.h"

#include <algorithm>

namespace kestrova {

namespace {

// ASCII letters folded to lower case; every other byte keeps its value, so
// punctuation and digits come before letters and bytes 0x80-0xFF after them.
unsigned char Folded(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

int Compare(unsigned char a, unsigned char b) { return a < b ? -1 : (a > b ? 1 : 0); }

}  // namespace

int CompareCaptions(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (const int order = Compare(Folded(a[i]), Folded(b[i])); order != 0) {
      return order;
    }
  }
  if (a.size() != b.size()) {
    return a.size() < b.size() ? -1 : 1;
  }
  // Equal apart from case: the first letter that differs decides, and the
  // lower-case one comes first (the reverse of the byte order).
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] != b[i]) {
      return -Compare(static_cast<unsigned char>(a[i]), static_cast<unsigned char>(b[i]));
    }
  }
  return 0;
}

}  // namespace kestrova
