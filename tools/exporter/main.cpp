// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-exporter: game server metrics for Prometheus, one query cycle
// per probe, over HTTP. See --help.
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/exporter/exporter_options.h"
#include "tools/exporter/exporter_service.h"
#include "tools/exporter/http_server.h"
#include "tools/exporter/listen_address.h"

using namespace kestrova::exporter;

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

}  // namespace

int main(int argc, char** argv) {
  // A scraper that hangs up must not end the exporter.
  std::signal(SIGPIPE, SIG_IGN);

  ExporterOptions options;
  ListenAddress address;
  try {
    options = ParseExporterOptions(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
    if (options.mode == ExporterOptions::Mode::Serve) {
      address = ParseListenAddress(options.listen);
    }
  } catch (const std::invalid_argument& error) {
    std::fprintf(stderr, "kestrova-exporter: %s\nTry 'kestrova-exporter --help'.\n", error.what());
    return kExitUsage;
  }
  if (options.mode == ExporterOptions::Mode::Help) {
    std::fputs(ExporterUsageText().c_str(), stdout);
    return 0;
  }
  if (options.mode == ExporterOptions::Mode::Version) {
    std::printf("kestrova-exporter %s\n", KESTROVA_VERSION);
    return 0;
  }

  // The stop signals are taken by sigwait below only: blocked before the
  // server's threads start, so that none of them receives one.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);

  try {
    const int socket = ListenOn(address, options.listen);
    const std::string bound = BoundAddressText(socket);
    ExporterStats stats;
    ProbeCache cache(QueryCycleCounted(stats), std::chrono::seconds(options.cacheSeconds));
    ExporterService service(cache, stats);
    {
      HttpServer server(socket, address.ipv6,
                        [&service](const HttpRequest& request) { return service.Handle(request); });
      std::printf("kestrova-exporter: listening on %s\n", bound.c_str());
      std::fflush(stdout);
      int received = 0;
      sigwait(&stops, &received);
    }
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kestrova-exporter: %s\n", error.what());
    return kExitFailed;
  }
}
