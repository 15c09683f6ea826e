// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/query/openmetrics_report.h"

#include <charconv>
#include <map>
#include <optional>
#include <system_error>
#include <vector>

#include "tools/query/info_fields.h"

namespace kestrova {

namespace {

// One series: its labels as name="value" pairs, already escaped, and its value.
struct Series {
  std::string labels;
  std::string value;
};

struct Family {
  const char* name;
  const char* help;
  const char* unit;  // nullptr for none
  std::vector<Series> series;
};

std::string Label(std::string_view name, std::string_view value) {
  return std::string(name) + "=\"" + OpenMetricsLabelValue(value) + "\"";
}

// A decimal number as the server writes one: an optional sign, digits and
// an optional fraction. Other texts make no sample.
std::optional<std::string> Number(const std::optional<std::string>& text) {
  if (!text) {
    return std::nullopt;
  }
  std::size_t i = 0;
  if (i < text->size() && ((*text)[i] == '-' || (*text)[i] == '+')) {
    ++i;
  }
  auto digits = [&] {
    const std::size_t first = i;
    while (i < text->size() && (*text)[i] >= '0' && (*text)[i] <= '9') {
      ++i;
    }
    return i > first;
  };
  if (!digits()) {
    return std::nullopt;
  }
  if (i < text->size() && (*text)[i] == '.') {
    ++i;
    if (!digits()) {
      return std::nullopt;
    }
  }
  if (i != text->size()) {
    return std::nullopt;
  }
  return *text;
}

void AddNumber(Family& family, const std::string& labels, const std::optional<std::string>& text) {
  if (const std::optional<std::string> value = Number(text)) {
    family.series.push_back({labels, *value});
  }
}

// A value for the format; to_chars writes a point whatever the locale says.
std::string DecimalText(double value, std::optional<int> fractionDigits = std::nullopt) {
  char text[64];
  const auto written = fractionDigits
                           ? std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, *fractionDigits)
                           : std::to_chars(text, text + sizeof text, value);
  return std::string(text, written.ptr);
}

// The server's ping in milliseconds as seconds, the base unit.
void AddMilliseconds(Family& family, const std::string& labels, const std::optional<std::string>& text) {
  const std::optional<std::string> value = Number(text);
  double milliseconds = 0;
  if (!value || std::from_chars(value->data(), value->data() + value->size(), milliseconds).ec != std::errc()) {
    return;
  }
  family.series.push_back({labels, DecimalText(milliseconds / 1000)});
}

// The labels of a series: the server's first, then `rest`.
std::string WithServer(const std::string& server, const std::string& rest) {
  if (server.empty()) {
    return rest;
  }
  return rest.empty() ? server : server + "," + rest;
}

std::optional<std::string> SubItem(const PlayerRow& row, std::size_t index) {
  if (index >= row.subItems.size()) {
    return std::nullopt;
  }
  return row.subItems[index];
}

std::string Render(const std::vector<Family>& families) {
  std::string out;
  for (const Family& family : families) {
    if (family.series.empty()) {
      continue;
    }
    out += std::string("# HELP ") + family.name + " " + family.help + "\n";
    out += std::string("# TYPE ") + family.name + " gauge\n";
    if (family.unit != nullptr) {
      out += std::string("# UNIT ") + family.name + " " + family.unit + "\n";
    }
    for (const Series& series : family.series) {
      out += family.name;
      if (!series.labels.empty()) {
        out += "{" + series.labels + "}";
      }
      out += " " + series.value + "\n";
    }
  }
  return out + "# EOF\n";
}

}  // namespace

std::string OpenMetricsLabelValue(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (c == '"') {
      out += "\\\"";
    } else if (c == '\n') {
      out += "\\n";
    } else if (byte < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

bool StatusQueryWhole(const QuerySnapshot& snapshot) {
  return snapshot.valid && !snapshot.shown.StatusList().empty() && !snapshot.error && !snapshot.statusIncomplete;
}

std::string OpenMetricsReport(const QuerySnapshot& snapshot, const MetricsOptions& options) {
  Family up{"kestrova_up", "Whether the server sent a valid info reply.", nullptr, {}};
  Family statusUp{"kestrova_status_up",
                  "Whether the server's status reply came whole and was read without failure (0 when it did not "
                  "come, lacked a part or broke off).",
                  nullptr,
                  {}};
  Family incomplete{"kestrova_status_incomplete",
                    "Whether the status reply lacked a part even after one retry, so no players were read from it.",
                    nullptr,
                    {}};
  Family players{"kestrova_players", "Players on the server, as the info reply counts them.", nullptr, {}};
  Family maxPlayers{"kestrova_max_players", "Player slots (sv_maxclients).", nullptr, {}};
  Family info{"kestrova_info", "The server's host name, map, game type and protocol.", nullptr, {}};
  Family fraglimit{"kestrova_fraglimit", "Frag limit, in frags, as the server states it (0: none).", nullptr, {}};
  Family timelimit{
      "kestrova_timelimit", "Time limit of a match, in minutes, as the server states it (0: none).", nullptr, {}};
  Family frags{"kestrova_player_frags", "Frags of each player.", nullptr, {}};
  Family deaths{"kestrova_player_deaths", "Deaths of each player.", nullptr, {}};
  Family ping{"kestrova_player_ping_seconds", "Ping of each player.", "seconds", {}};
  Family duration{"kestrova_query_duration_seconds", "How long the query cycle took.", "seconds", {}};

  const std::string server = options.server.empty() ? "" : Label("server", options.server);
  up.series.push_back({server, snapshot.valid ? "1" : "0"});
  statusUp.series.push_back({server, StatusQueryWhole(snapshot) ? "1" : "0"});
  incomplete.series.push_back({server, snapshot.statusIncomplete ? "1" : "0"});
  if (const std::optional<InfoFields> fields = ReadInfoFields(snapshot.infoReply, snapshot.valid)) {
    AddNumber(players, server, FieldValue(*fields, "clients"));
    AddNumber(maxPlayers, server, FieldValue(*fields, "sv_maxclients"));
    std::string labels;
    const std::pair<const char*, const char*> infoLabels[] = {
        {"hostname", "hostname"}, {"map", "mapname"}, {"gametype", "gametype"}, {"protocol", "protocol"}};
    for (const auto& [label, key] : infoLabels) {
      labels += (labels.empty() ? "" : ",") + Label(label, FieldValue(*fields, key).value_or(""));
    }
    info.series.push_back({WithServer(server, labels), "1"});
  }
  AddNumber(fraglimit, server, snapshot.shown.Value(ShownLabel::FragLimit));
  AddNumber(timelimit, server, snapshot.shown.Value(ShownLabel::TimeLimit));

  std::map<std::string, int> seen;
  for (const PlayerRow& row : options.players ? snapshot.shown.Rows() : std::vector<PlayerRow>()) {
    // The caption is the joined name behind one blank.
    const std::string name = row.caption.starts_with(' ') ? row.caption.substr(1) : row.caption;
    const int count = ++seen[name];
    std::string labels = Label("name", name);
    if (count > 1) {
      labels += "," + Label("n", std::to_string(count));
    }
    labels = WithServer(server, labels);
    AddNumber(frags, labels, SubItem(row, 0));
    AddNumber(deaths, labels, SubItem(row, 1));
    AddMilliseconds(ping, labels, SubItem(row, 2));
  }

  duration.series.push_back({server, DecimalText(snapshot.durationSeconds, 6)});

  return Render(
      {up, statusUp, incomplete, players, maxPlayers, info, fraglimit, timelimit, frags, deaths, ping, duration});
}

}  // namespace kestrova
