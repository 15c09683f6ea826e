// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/arguments/argument_text.h"

#include <cstdio>

#include "tools/arguments/option_reader.h"

namespace kestrova {

namespace {

constexpr std::size_t kQuotedCharacters = 40;

// The UTF-8 bytes of one code point from U+0000 to U+10FFFF.
std::string Utf8(std::uint32_t point) {
  std::string bytes;
  if (point < 0x80) {
    bytes += static_cast<char>(point);
  } else if (point < 0x800) {
    bytes += static_cast<char>(0xC0 | (point >> 6));
    bytes += static_cast<char>(0x80 | (point & 0x3F));
  } else if (point < 0x10000) {
    bytes += static_cast<char>(0xE0 | (point >> 12));
    bytes += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (point & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (point >> 18));
    bytes += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (point & 0x3F));
  }
  return bytes;
}

bool IsControl(std::uint32_t point) {
  return point < 0x20 || (point >= 0x7F && point < 0xA0) || point == 0x2028 || point == 0x2029;
}

}  // namespace

std::optional<std::vector<std::uint32_t>> DecodeUtf8(std::string_view text) {
  std::vector<std::uint32_t> points;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    std::uint32_t point = 0;
    std::uint32_t smallest = 0;
    if (lead < 0x80) {
      length = 1;
      point = lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      length = 2;
      point = lead & 0x1F;
      smallest = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3;
      point = lead & 0x0F;
      smallest = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      length = 4;
      point = lead & 0x07;
      smallest = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + length > text.size()) {
      return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) {
        return std::nullopt;
      }
      point = (point << 6) | (next & 0x3F);
    }
    if (point < smallest || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000)) {
      return std::nullopt;
    }
    points.push_back(point);
    i += length;
  }
  return points;
}

std::string SingleByteText(std::string_view argument, std::string_view what) {
  const std::optional<std::vector<std::uint32_t>> points = DecodeUtf8(argument);
  if (!points) {
    return std::string(argument);
  }
  std::string bytes;
  for (const std::uint32_t point : *points) {
    if (point > 0xFF) {
      char number[16];
      std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(point));
      const std::string shown = IsControl(point) ? std::string() : " '" + Utf8(point) + "'";
      throw UsageError(std::string(what) + " holds the character " + number + shown +
                       ", which the server's single-byte text cannot carry (only U+0000 to U+00FF)");
    }
    bytes += static_cast<char>(point);
  }
  return bytes;
}

std::string QuotedArgument(std::string_view argument) {
  std::string quoted = "'";
  std::size_t shown = 0;
  if (const std::optional<std::vector<std::uint32_t>> points = DecodeUtf8(argument)) {
    for (; shown < points->size() && shown < kQuotedCharacters; ++shown) {
      const std::uint32_t point = (*points)[shown];
      quoted += IsControl(point) ? std::string("?") : Utf8(point);
    }
    if (shown < points->size()) {
      quoted += "...";
    }
  } else {
    for (; shown < argument.size() && shown < kQuotedCharacters; ++shown) {
      const auto byte = static_cast<unsigned char>(argument[shown]);
      quoted += byte < 0x20 || byte == 0x7F ? '?' : static_cast<char>(byte);
    }
    if (shown < argument.size()) {
      quoted += "...";
    }
  }
  return quoted + "'";
}

}  // namespace kestrova
