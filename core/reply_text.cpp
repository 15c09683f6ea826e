// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/reply_text.h"

namespace kestrova {

namespace {

// Space and every control byte; the zero byte is the end of the text instead.
bool IsBlank(unsigned char c) { return c >= 0x01 && c <= 0x20; }

}  // namespace

std::string CutAtNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

std::string ReplaceAll(std::string_view pattern, std::string_view replacement, std::string_view text) {
  if (pattern.empty()) {
    return std::string(text);
  }
  std::string output;
  std::size_t from = 0;
  for (std::size_t at = text.find(pattern); at != std::string_view::npos; at = text.find(pattern, from)) {
    output.append(text.substr(from, at - from)).append(replacement);
    from = at + pattern.size();
  }
  return output.append(text.substr(from));
}

std::string NormaliseReply(std::string_view received) {
  return ReplaceAll("\\", ",", ReplaceAll("\xFF", "", CutAtNul(received)));
}

void SplitCommaText(std::string_view text, TokenList& list) {
  list.clear();
  text = text.substr(0, text.find('\0'));
  std::size_t i = 0;
  const auto skipBlanks = [&] {
    while (i < text.size() && IsBlank(static_cast<unsigned char>(text[i]))) {
      ++i;
    }
  };

  skipBlanks();
  while (i < text.size()) {
    std::string token;
    if (text[i] == '"') {
      // Quoted: up to the first quote that is not doubled. Without a closing
      // quote the token runs to the end of the text.
      for (++i; i < text.size(); ++i) {
        if (text[i] == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            ++i;
          } else {
            ++i;
            break;
          }
        }
        token += text[i];
      }
    } else {
      const std::size_t start = i;
      while (i < text.size() && text[i] != ',' && !IsBlank(static_cast<unsigned char>(text[i]))) {
        ++i;
      }
      token.assign(text.substr(start, i - start));
    }
    list.push_back(std::move(token));
    skipBlanks();
    if (i < text.size() && text[i] == ',') {
      ++i;
      skipBlanks();
    }
  }
}

std::string AddressToText(std::uint32_t address) {
  return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
         std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

bool Equals(std::string_view a, std::string_view b) { return a == b; }

bool Contains(std::string_view text, std::string_view pattern) {
  return !pattern.empty() && text.find(pattern) != std::string_view::npos;
}

}  // namespace kestrova
