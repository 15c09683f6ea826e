#include "tools/exporter/exporter_options.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "tools/query/argument_text.h"

namespace kestrova::exporter {

namespace {

constexpr int kLongestCacheSeconds = 3600;

int CacheSeconds(const std::string& text) {
  const bool digits = !text.empty() && text.size() <= 4 &&
                      std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int seconds = digits ? std::stoi(text) : -1;
  if (seconds < 0 || seconds > kLongestCacheSeconds) {
    throw std::invalid_argument("--cache-seconds: " + QuotedArgument(text) + " is not a number of seconds from 0 to " +
                                std::to_string(kLongestCacheSeconds));
  }
  return seconds;
}

}  // namespace

ExporterOptions ParseExporterOptions(const std::vector<std::string>& arguments) {
  ExporterOptions options;
  for (const std::string& argument : arguments) {
    if (argument == "--help" || argument == "--version") {
      options.mode = argument == "--help" ? ExporterOptions::Mode::Help : ExporterOptions::Mode::Version;
      return options;
    }
  }
  std::optional<std::string> listen;
  std::optional<std::string> cacheSeconds;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const std::size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    std::optional<std::string>* slot = name == "--listen"          ? &listen
                                       : name == "--cache-seconds" ? &cacheSeconds
                                                                   : nullptr;
    if (slot == nullptr) {
      throw std::invalid_argument("unknown argument " + QuotedArgument(argument));
    }
    if (slot->has_value()) {
      throw std::invalid_argument(name + " is given twice");
    }
    if (equals != std::string::npos) {
      *slot = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      *slot = arguments[++i];
    } else {
      throw std::invalid_argument(name + " needs a value");
    }
  }
  options.listen = listen.value_or(kDefaultListen);
  options.cacheSeconds = cacheSeconds ? CacheSeconds(*cacheSeconds) : kDefaultCacheSeconds;
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
