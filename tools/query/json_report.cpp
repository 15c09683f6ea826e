// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/query/json_report.h"

#include "tools/query/info_fields.h"

namespace kestrova {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string JsonArray(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) {
      out += ", ";
    }
    out += JsonString(texts[i]);
  }
  return out + "]";
}

std::string JsonError(const std::optional<std::string>& error) { return error ? JsonString(*error) : "null"; }

// Whether `text` is a JSON number as a server writes one: an optional minus,
// digits without a leading zero, and an optional fraction.
bool IsJsonNumber(std::string_view text) {
  std::size_t i = text.starts_with('-') ? 1 : 0;
  const auto digits = [&] {
    const std::size_t first = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      ++i;
    }
    return i - first;
  };
  const std::size_t whole = digits();
  if (whole == 0 || (whole > 1 && text[i - whole] == '0')) {
    return false;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    if (digits() == 0) {
      return false;
    }
  }
  return i == text.size();
}

// A sub-item as a JSON value: a number as a number, other text as text,
// and null for one that a failure left out.
std::string JsonValue(const std::vector<std::string>& subItems, std::size_t index) {
  if (index >= subItems.size()) {
    return "null";
  }
  const std::string& text = subItems[index];
  return IsJsonNumber(text) ? text : JsonString(text);
}

std::string JsonPlayerList(const std::vector<PlayerRow>& rows) {
  std::string out = "[";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const PlayerRow& row = rows[i];
    // The caption is the joined name behind one blank.
    const std::string_view name = std::string_view(row.caption).substr(row.caption.starts_with(' ') ? 1 : 0);
    out += i > 0 ? ", " : "";
    out += "{\"name\": " + JsonString(name) + ", \"frags\": " + JsonValue(row.subItems, 0) +
           ", \"deaths\": " + JsonValue(row.subItems, 1) + ", \"ping\": " + JsonValue(row.subItems, 2) + "}";
  }
  return out + "]";
}

std::string JsonServer(const QuerySnapshot& snapshot) {
  const std::optional<InfoFields> fields = ReadInfoFields(snapshot.infoReply, snapshot.valid);
  if (!fields) {
    return "null";
  }
  std::string out = "{";
  for (std::size_t i = 0; i < fields->size(); ++i) {
    if (i > 0) {
      out += ", ";
    }
    const auto& [key, value] = (*fields)[i];
    out += JsonString(key) + ": " + (value ? JsonString(*value) : "null");
  }
  return out + "}";
}

}  // namespace

std::string JsonString(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + 2);
  out += '"';
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    switch (byte) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (byte < 0x20) {
          out += "\\u00";
          out += kHexDigits[byte >> 4];
          out += kHexDigits[byte & 0x0F];
        } else if (byte < 0x80) {
          out += c;
        } else {
          // U+0080..U+00FF take two bytes in UTF-8.
          out += static_cast<char>(0xC0 | (byte >> 6));
          out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
  }
  out += '"';
  return out;
}

std::string QueryJson(const QuerySnapshot& snapshot) {
  std::string out = "{\"valid\": ";
  out += snapshot.valid ? "true" : "false";
  const DisplayModel& shown = snapshot.shown;
  out += ", \"labels\": {";
  for (int number = 1; number <= kShownLabelCount; ++number) {
    out += number > 1 ? ", " : "";
    out += "\"Label" + std::to_string(number) + "\": " + JsonString(shown.Label(static_cast<ShownLabel>(number)));
  }
  out += "}, \"hint\": " + JsonString(shown.Hint());
  out += ", \"players\": [";
  const std::vector<PlayerRow> rows = shown.Rows();
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::vector<std::string> row{rows[i].caption};
    row.insert(row.end(), rows[i].subItems.begin(), rows[i].subItems.end());
    out += (i > 0 ? ", " : "") + JsonArray(row);
  }
  out += "], \"playerList\": " + JsonPlayerList(rows);
  out += ", \"infoList\": " + JsonArray(shown.InfoList());
  out += ", \"statusList\": " + JsonArray(shown.StatusList());
  out += ", \"server\": " + JsonServer(snapshot);
  out += ", \"error\": " + JsonError(snapshot.error);
  out += "}\n";
  return out;
}

std::string ConsoleJson(const std::vector<std::string>& lines, const std::optional<std::string>& error) {
  return "{\"lines\": " + JsonArray(lines) + ", \"error\": " + JsonError(error) + "}\n";
}

}  // namespace kestrova
