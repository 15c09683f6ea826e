// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace kestrova::exporter {

// The address the exporter listens on when no --listen is given: this
// machine only. Port 9640 sits in the range that Prometheus exporters
// take their ports from, away from the best-known ones (node 9100,
// blackbox 9115, Prometheus itself 9090-9093).
inline constexpr char kDefaultListen[] = "127.0.0.1:9640";

// How long a query cycle's answer serves further probes of its server.
inline constexpr int kDefaultCacheSeconds = 5;

// What the command line of kestrova-exporter asks for.
struct ExporterOptions {
  enum class Mode { Serve, Help, Version };
  Mode mode = Mode::Serve;
  std::string listen = kDefaultListen;
  int cacheSeconds = kDefaultCacheSeconds;
};

// Reads the arguments after the program name by ReadOptions' rules:
// --listen ADDRESS:PORT and --cache-seconds N (0 to 3600). Throws
// UsageError (a std::invalid_argument) with a one-line reason for anything
// else. The address is checked when the exporter starts to listen.
ExporterOptions ParseExporterOptions(const std::vector<std::string>& arguments);

// The usage text, ending with a line feed.
std::string ExporterUsageText();

}  // namespace kestrova::exporter
