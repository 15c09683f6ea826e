// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/caption_order.h"

#include <unicode/ucol.h>

#include <cstdlib>
#include <stdexcept>

namespace kestrova {

namespace {

// Each byte as the code unit of the same value: Latin-1 covers exactly
// U+0000-U+00FF, all of them single UTF-16 code units.
std::u16string Latin1(std::string_view bytes) {
  std::u16string text(bytes.size(), u'\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[i]));
  }
  return text;
}

int ByteOrder(std::string_view a, std::string_view b) {
  const int order = a.compare(b);
  return (order > 0) - (order < 0);
}

// The user's collation, or root's when ICU refuses it; null when even root
// cannot be had (no collation data), so that the order falls back to bytes.
const CaptionCollation* UserCollation() {
  static const std::unique_ptr<CaptionCollation> collation = []() -> std::unique_ptr<CaptionCollation> {
    for (const std::string& name :
         {CollationLocaleName(std::getenv("LC_ALL"), std::getenv("LC_COLLATE"), std::getenv("LANG")), std::string()}) {
      try {
        return std::make_unique<CaptionCollation>(name);
      } catch (const std::runtime_error&) {
      }
    }
    return nullptr;
  }();
  return collation.get();
}

}  // namespace

std::string CollationLocaleName(const char* lcAll, const char* lcCollate, const char* lang) {
  std::string_view chosen;
  for (const char* value : {lcAll, lcCollate, lang}) {
    if (value != nullptr && *value != '\0') {
      chosen = value;
      break;
    }
  }
  chosen = chosen.substr(0, chosen.find_first_of(".@"));
  if (chosen == "C" || chosen == "POSIX") {
    return {};
  }
  return std::string(chosen);
}

void CaptionCollation::CloseCollator::operator()(UCollator* collator) const { ucol_close(collator); }

CaptionCollation::CaptionCollation(const std::string& localeName) {
  UErrorCode status = U_ZERO_ERROR;
  collator_.reset(ucol_open(localeName.empty() ? "root" : localeName.c_str(), &status));
  if (U_FAILURE(status) || !collator_) {
    throw std::runtime_error("no collation for the locale '" + localeName + "': " + u_errorName(status));
  }
  // Tertiary strength: letters, then accents, then case, lower case first.
  ucol_setStrength(collator_.get(), UCOL_TERTIARY);
}

CaptionCollation::~CaptionCollation() = default;

int CaptionCollation::Compare(std::string_view a, std::string_view b) const {
  const std::u16string left = Latin1(a);
  const std::u16string right = Latin1(b);
  switch (ucol_strcoll(collator_.get(), left.data(), static_cast<int32_t>(left.size()), right.data(),
                       static_cast<int32_t>(right.size()))) {
    case UCOL_LESS:
      return -1;
    case UCOL_GREATER:
      return 1;
    case UCOL_EQUAL:
      break;
  }
  // Control characters, for one, are ignored by the collation.
  return ByteOrder(a, b);
}

int CompareCaptions(std::string_view a, std::string_view b) {
  const CaptionCollation* collation = UserCollation();
  return collation != nullptr ? collation->Compare(a, b) : ByteOrder(a, b);
}

}  // namespace kestrova
