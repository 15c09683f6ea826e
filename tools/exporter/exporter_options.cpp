// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exporter/exporter_options.h"

#include <algorithm>

#include "tools/arguments/argument_text.h"
#include "tools/arguments/option_reader.h"

namespace kestrova::exporter {

namespace {

constexpr int kLongestCacheSeconds = 3600;

int CacheSeconds(const std::string& text) {
  const bool digits = !text.empty() && text.size() <= 4 &&
                      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int seconds = digits ? std::stoi(text) : -1;
  if (seconds < 0 || seconds > kLongestCacheSeconds) {
    throw UsageError("--cache-seconds: " + QuotedArgument(text) + " is not a number of seconds from 0 to " +
                     std::to_string(kLongestCacheSeconds));
  }
  return seconds;
}

}  // namespace

ExporterOptions ParseExporterOptions(const std::vector<std::string>& arguments) {
  constexpr LongOption kOptions[] = {{"listen", true}, {"cache-seconds", true}};
  const OptionsRead read = ReadOptions(arguments, kOptions);
  ExporterOptions options;
  if (!read.asks.empty()) {
    options.mode = read.asks == "--help" ? ExporterOptions::Mode::Help : ExporterOptions::Mode::Version;
  }
  for (const auto& [name, value] : read.options) {
    if (name == "--listen") {
      options.listen = value;
    } else {
      options.cacheSeconds = CacheSeconds(value);
    }
  }
  return options;
}

std::string ExporterUsageText() {
  return std::string(
             "Usage: kestrova-exporter [--listen ADDRESS:PORT] [--cache-seconds N]\n"
             "       kestrova-exporter --help | --version\n"
             "\n"
             "Serves game server metrics to Prometheus over HTTP. A scrape of\n"
             "/probe?target=ADDRESS:GAMEPORT[&query_port=PORT][&players=0] runs one\n"
             "query cycle of that server, as kestrova-query --openmetrics does; /metrics\n"
             "gives the exporter's own figures.\n"
             "\n"
             "  --listen ADDRESS:PORT  where to take connections (default ") +
         kDefaultListen +
         ");\n"
         "                         an IPv6 address goes in brackets, [::1]:9640\n"
         "  --cache-seconds N      how long one cycle's answer serves further probes\n"
         "                         of the same server, 0 to 3600 (default 5); 0 sends\n"
         "                         every probe to the server\n"
         "  --help                 print this text\n"
         "  --version              print the version\n"
         "\n"
         "SIGTERM or SIGINT ends it once the running requests are answered.\n"
         "\n"
         "Exit status:\n"
         "  0  ended by SIGTERM or SIGINT\n"
         "  1  failed, for example the address is in use\n"
         "  2  wrong usage\n";
}

}  // namespace kestrova::exporter
