#include "core/caption_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrova {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(CompareCaptions, OrdersAlphabeticallyThenLowerCaseFirst) {
  struct Case {
    std::string a, b;
    int expected;  // sign of the comparison
  };
  // clang-format off
  const Case cases[] = {
      {"alice", "Bob", -1},
      {"Alice", "bob", -1},
      {"bob", "Bob", -1},
      {"Bob", "bob", 1},
      {"bob", "bob", 0},
      {"boB", "bOb", -1},      // the first letter that differs in case decides
      {" alice", " Bob", -1},
      {" zed", " Adam", 1},
      {"Bob", "bobby", -1},    // a prefix comes first, whatever the case
      {"", "a", -1},
      {"_x", "ax", -1},        // punctuation before letters
      {"9", "a", -1},          // digits before letters
      {"z", "\xE9", -1},       // bytes 0x80-0xFF after ASCII
      {"\xE9", "\xF0", -1},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.a + "' against '" + c.b + "'");
    EXPECT_EQ(Sign(CompareCaptions(c.a, c.b)), c.expected);
    EXPECT_EQ(Sign(CompareCaptions(c.b, c.a)), -c.expected);
  }
}

TEST(CompareCaptions, SortsAPlayerList) {
  std::vector<std::string> captions{" Zorro", " bob", " Alice", " Bob", " alice", " \xC4rger", " 1up"};
  std::sort(captions.begin(), captions.end(),
            [](const std::string& a, const std::string& b) { return CompareCaptions(a, b) < 0; });
  EXPECT_EQ(captions, (std::vector<std::string>{" 1up", " alice", " Alice", " bob", " Bob", " Zorro", " \xC4rger"}));
}

}  // namespace
}  // namespace kestrova
