// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/text_file_reader.h"

#include "storage/integer_token.h"

namespace kestrova {

namespace {

constexpr int kCarriageReturn = 0x0D;
constexpr int kLineFeed = 0x0A;
constexpr int kEndOfFileMark = 0x1A;
constexpr int kLastWhiteSpace = 32;

}  // namespace

int TextFileReader::Peek() {
  if (ended_) {
    return kEnd;
  }
  if (position_ == size_) {
    size_ = file_.Read(buffer_.data(), buffer_.size());
    position_ = 0;
    if (size_ == 0) {
      ended_ = true;
      return kEnd;
    }
  }
  const int c = static_cast<unsigned char>(buffer_[position_]);
  if (c == kEndOfFileMark) {
    ended_ = true;
    return kEnd;
  }
  return c;
}

void TextFileReader::ConsumeLine(std::string* text) {
  for (int c = Peek(); c != kEnd; c = Peek()) {
    Advance();
    if (c == kCarriageReturn) {
      if (Peek() == kLineFeed) {
        Advance();
      }
      return;
    }
    if (text != nullptr) {
      text->push_back(static_cast<char>(c));
    }
  }
}

void TextFileReader::SkipLine() { ConsumeLine(nullptr); }

std::string TextFileReader::ReadLine() {
  std::string text;
  ConsumeLine(&text);
  return text;
}

std::int64_t TextFileReader::ReadIntegerToken() {
  int c = Peek();
  while (c != kEnd && c <= kLastWhiteSpace) {
    Advance();
    c = Peek();
  }
  if (c == kEnd) {
    return 0;
  }
  std::string token;
  while (c != kEnd && c > kLastWhiteSpace && token.size() < kTokenLimit) {
    token.push_back(static_cast<char>(c));
    Advance();
    c = Peek();
  }
  return IntegerTokenValue(token);
}

}  // namespace kestrova
