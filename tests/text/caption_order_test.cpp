// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/caption_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace kestrova {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

std::vector<std::string> Sorted(std::vector<std::string> captions, const CaptionCollation& collation) {
  std::sort(captions.begin(), captions.end(),
            [&](const std::string& a, const std::string& b) { return collation.Compare(a, b) < 0; });
  return captions;
}

TEST(CaptionCollation, RootOrdersAlphabeticallyThenByAccentThenLowerCaseFirst) {
  const CaptionCollation root("");
  // Captions as the list holds them, each after one blank; bytes are Latin-1.
  // Punctuation, then symbols, then digits, then letters; "{|}~" and the
  // bytes from 0x80 are no longer sorted after "z".
  const std::vector<std::string> expected = {
      " _x",       " [TAG]x", " {z}",   " =X=",      " 1up",      " alice", " Alice",
      " \xC4rger", " Bob",    " Emile", " \xE9mile", " \xC9mile", " Zorro",
  };
  std::vector<std::string> shuffled = expected;
  std::reverse(shuffled.begin(), shuffled.end());
  std::rotate(shuffled.begin(), shuffled.begin() + 5, shuffled.end());

  EXPECT_EQ(Sorted(shuffled, root), expected);
}

TEST(CaptionCollation, PairsCompareBothWays) {
  const CaptionCollation root("");
  struct Case {
    std::string a, b;
    int expected;  // sign of the comparison
  };
  // clang-format off
  const Case cases[] = {
      {"alice", "Alice", -1},         // case decides last, lower case first
      {"alice", "Bob", -1},
      {"boB", "bOb", -1},
      {"Emile", "\xC9mile", -1},      // the accent decides before case
      {"\xE9mile", "Emilf", -1},      // ... but after the letters
      {"\xC4rger", "Zorro", -1},
      {"z", "\xE9", 1},               // bytes from 0x80 are letters, not "after z"
      {"9", "_", 1},                  // digits after punctuation
      {"Bob", "bobby", -1},
      {"", "a", -1},
      {"a\x01", "a", 1},              // ignored by the collation, decided by bytes
      {"bob", "bob", 0},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE("'" + c.a + "' against '" + c.b + "'");
    EXPECT_EQ(Sign(root.Compare(c.a, c.b)), c.expected);
    EXPECT_EQ(Sign(root.Compare(c.b, c.a)), -c.expected);
  }
}

TEST(CaptionCollation, FollowsTheLocalesAlphabet) {
  // Swedish puts the letter after z; German and English read it as an a.
  EXPECT_GT(CaptionCollation("sv_SE").Compare(" \xC4rger", " Zorro"), 0);
  EXPECT_LT(CaptionCollation("de_DE").Compare(" \xC4rger", " Zorro"), 0);
  // A locale ICU does not know falls back to root.
  EXPECT_LT(CaptionCollation("qq_QQ").Compare(" \xC4rger", " Zorro"), 0);
}

TEST(CompareCaptions, IsTheCollationOfTheUsersLocale) {
  const CaptionCollation user(
      CollationLocaleName(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"), std::getenv("LANG")));
  const std::vector<std::string> names = {" _x",  " [TAG]x",   " =X=",   " 1up",      " alice", " Alice",
                                          " Bob", " \xC4rger", " Zorro", " \xC9mile", " Emile", " ~"};
  for (const std::string& a : names) {
    for (const std::string& b : names) {
      EXPECT_EQ(Sign(CompareCaptions(a, b)), Sign(user.Compare(a, b))) << "'" << a << "' against '" << b << "'";
    }
  }
}

TEST(CollationLocaleName, TakesTheFirstSetVariableWithoutCodesetOrModifier) {
  struct Case {
    const char* lcAll;
    const char* lcCollate;
    const char* lang;
    std::string expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, nullptr, ""},
      {nullptr, nullptr, "de_DE.UTF-8", "de_DE"},
      {nullptr, "sv_SE.ISO-8859-1", "de_DE.UTF-8", "sv_SE"},
      {"fr_FR@euro", "sv_SE", "de_DE", "fr_FR"},
      {"", "sv_SE.UTF-8", "de_DE", "sv_SE"},  // an empty variable counts as unset
      {"C", "sv_SE", nullptr, ""},
      {nullptr, nullptr, "C.UTF-8", ""},
      {nullptr, "POSIX", "de_DE", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CollationLocaleName(c.lcAll, c.lcCollate, c.lang), c.expected)
        << (c.lcAll ? c.lcAll : "-") << " " << (c.lcCollate ? c.lcCollate : "-") << " " << (c.lang ? c.lang : "-");
  }
}

}  // namespace
}  // namespace kestrova
