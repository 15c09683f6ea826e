// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/integer_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace kestrova {
namespace {

TEST(IntegerText, StrictAndLenientAgreeOnTheSyntax) {
  struct Case {
    std::string text;
    std::optional<std::int32_t> value;  // nullopt: not an integer
  };
  const Case cases[] = {
      {"0", 0},
      {"12203", 12203},
      {"007", 7},
      {"+5", 5},
      {"-5", -5},
      {" 12", 12},
      {"   -3", -3},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$2FAB", 12203},
      {"x2fab", 12203},
      {"X10", 16},
      {"0x10", 16},
      {"0XfF", 255},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$0000000F", 15},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {"--12", std::nullopt},
      {"+-1", std::nullopt},
      {"12 ", std::nullopt},
      {"\t12", std::nullopt},
      {"12a", std::nullopt},
      {"1 2", std::nullopt},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"$123456789", std::nullopt},
      {"$G", std::nullopt},
      {"-$10", std::nullopt},
      {"$-10", std::nullopt},
      {"1.5", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("text '" + c.text + "'");
    if (c.value) {
      EXPECT_EQ(StrictIntegerValue(c.text), *c.value);
      EXPECT_EQ(LenientIntegerValue(c.text), *c.value);
    } else {
      EXPECT_THROW(StrictIntegerValue(c.text), ConversionError);
      EXPECT_EQ(LenientIntegerValue(c.text), 0);
    }
  }
}

TEST(IntegerText, StrictErrorQuotesTheText) {
  try {
    StrictIntegerValue("12 ");
    FAIL() << "no error raised";
  } catch (const ConversionError& error) {
    EXPECT_STREQ(error.what(), "'12 ' is not a valid integer value");
  }
  EXPECT_STREQ(ConversionError("").what(), "'' is not a valid integer value");
}

}  // namespace
}  // namespace kestrova
