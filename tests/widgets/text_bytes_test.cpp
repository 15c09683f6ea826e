// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/text_bytes.h"

#include <gtest/gtest.h>

namespace kestrova::test {
namespace {

TEST(TextBytes, EveryByteRoundTrips) {
  std::string bytes;
  for (int byte = 0; byte < 256; ++byte) {
    bytes.push_back(static_cast<char>(byte));
  }
  const QString shown = ToDisplayText(bytes);
  ASSERT_EQ(shown.size(), 256);
  for (int index = 0; index < 256; ++index) {
    EXPECT_EQ(shown.at(index).unicode(), index);
  }
  EXPECT_EQ(FromDisplayText(shown), bytes);
}

TEST(TextBytes, CharactersBeyondLatin1BecomeQuestionMarks) {
  EXPECT_EQ(FromDisplayText(QString::fromUtf16(u"a\u20ACb")), "a?b");
}

}  // namespace
}  // namespace kestrova::test
