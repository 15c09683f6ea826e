// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <string_view>

struct UCollator;

namespace kestrova {

// The locale whose collation orders the player list, from the values of
// LC_ALL, LC_COLLATE and LANG (null for an unset variable): the first that
// is set and not empty, without its ".codeset" and "@modifier" parts, such
// as "de_DE" for "de_DE.UTF-8". The empty text, which stands for the root
// collation, when none is set or the one found is "C" or "POSIX".
std::string CollationLocaleName(const char* lcAll, const char* lcCollate, const char* lang);

// Alphabetical order of player captions in one locale, with the captions'
// bytes read as Latin-1 (each byte the character U+0000-U+00FF of its
// value). Letters sort by the locale's alphabet, accents come second and
// case decides only between names that are otherwise equal, lower case
// first: " alice" < " Alice" < " Bob". Punctuation comes before digits and
// digits before letters.
class CaptionCollation final {
 public:
  // The collation of the ICU locale `localeName` ("" for root). A locale
  // without a collation of its own gets its parent's, in the end root's.
  // Throws std::runtime_error when the collation data cannot be loaded.
  explicit CaptionCollation(const std::string& localeName);
  ~CaptionCollation();
  CaptionCollation(const CaptionCollation&) = delete;
  CaptionCollation& operator=(const CaptionCollation&) = delete;

  // Negative, zero or positive like strcmp. Captions that the collation
  // finds equal but whose bytes differ are ordered by their bytes, so zero
  // means byte for byte equal.
  int Compare(std::string_view a, std::string_view b) const;

 private:
  struct CloseCollator {
    void operator()(UCollator* collator) const;
  };
  std::unique_ptr<UCollator, CloseCollator> collator_;
};

// The order in which the player list keeps its rows, in the engine, the
// window and the log alike: CaptionCollation of the user's collation locale
// (CollationLocaleName of the environment), made at the first call. Falls
// back to the root collation when that locale cannot be loaded, and to byte
// order when not even root can.
int CompareCaptions(std::string_view a, std::string_view b);

}  // namespace kestrova
