// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/query/info_fields.h"

#include <algorithm>

#include "core/reply_text.h"

namespace kestrova {

namespace {

constexpr std::string_view kInfoWord = "infoResponse";

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

}  // namespace

std::optional<InfoFields> ReadInfoFields(std::string_view received, bool valid) {
  if (!valid) {
    return std::nullopt;
  }
  std::string text = CutAtNul(received);
  std::erase(text, '\xFF');

  std::size_t position = 0;
  while (position < text.size() && IsBlank(text[position])) {
    ++position;
  }
  if (std::string_view(text).substr(position).starts_with(kInfoWord)) {
    position += kInfoWord.size();
    while (position < text.size() && IsBlank(text[position])) {
      ++position;
    }
    if (position < text.size() && text[position] == '\\') {
      ++position;
    }
  } else {
    // The word came some other way (quoted, say): the fields begin after
    // the first backslash.
    const std::size_t backslash = text.find('\\');
    position = backslash == std::string::npos ? text.size() : backslash + 1;
  }

  std::vector<std::string> parts;
  if (position < text.size()) {
    std::size_t start = position;
    for (std::size_t end = text.find('\\', start); end != std::string::npos; end = text.find('\\', start)) {
      parts.push_back(text.substr(start, end - start));
      start = end + 1;
    }
    parts.push_back(text.substr(start));
  }

  InfoFields fields;
  for (std::size_t i = 0; i < parts.size(); i += 2) {
    std::optional<std::string> value;
    if (i + 1 < parts.size()) {
      value = parts[i + 1];
    }
    const auto known =
        std::find_if(fields.begin(), fields.end(), [&](const auto& field) { return field.first == parts[i]; });
    if (known != fields.end()) {
      known->second = std::move(value);
    } else {
      fields.emplace_back(parts[i], std::move(value));
    }
  }
  return fields;
}

std::optional<std::string> FieldValue(const InfoFields& fields, std::string_view key) {
  for (const auto& [name, value] : fields) {
    if (name == key) {
      return value;
    }
  }
  return std::nullopt;
}

}  // namespace kestrova
