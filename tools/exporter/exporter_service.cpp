// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exporter/exporter_service.h"

#include <memory>
#include <semaphore>

#include "tools/query/openmetrics_report.h"
#include "tools/query/query_runs.h"

namespace kestrova::exporter {

namespace {

constexpr char kPlainText[] = "text/plain; charset=utf-8";

constexpr char kHelpText[] =
    "kestrova-exporter: game server metrics for Prometheus\n"
    "\n"
    "GET /probe?target=ADDRESS:GAMEPORT[&query_port=PORT][&players=0]\n"
    "    one query cycle of that game server, as metrics; a probe of the\n"
    "    same server within the cache time answers the same cycle\n"
    "GET /metrics\n"
    "    the exporter's own figures\n";

using CycleSlots = std::counting_semaphore<kMostRunningCycles>;

// Gives a taken slot back on every way out of a cycle.
struct CycleSlot {
  CycleSlots& slots;
  ~CycleSlot() { slots.release(); }
};

HttpResponse Refusal(int status, const std::string& reason) { return {status, kPlainText, reason + "\n", {}}; }

}  // namespace

bool AcceptsOpenMetrics(const std::string& accept) {
  return accept.find("application/openmetrics-text") != std::string::npos;
}

std::string MetricsContentType(bool openMetrics) {
  return openMetrics ? "application/openmetrics-text; version=1.0.0; charset=utf-8"
                     : "text/plain; version=0.0.4; charset=utf-8";
}

ProbeCache::Query QueryCycleCounted(ExporterStats& stats) {
  auto slots = std::make_shared<CycleSlots>(kMostRunningCycles);
  return [&stats, slots](const ProbeTarget& target) {
    slots->acquire();
    const CycleSlot held{*slots};
    kestrova::QueryArguments arguments;
    arguments.address = target.address;
    arguments.gamePortText = std::to_string(target.gamePort);
    arguments.queryPortText = std::to_string(target.queryPort);
    QuerySnapshot snapshot = RunQueryCycle(arguments);
    stats.QueryEnded(snapshot.durationSeconds, StatusQueryWhole(snapshot));
    return snapshot;
  };
}

HttpResponse ExporterService::Handle(const HttpRequest& request) {
  if (request.method != "GET") {
    stats_.RequestRefused();
    HttpResponse refusal = Refusal(405, "method " + request.method + " is not served; use GET");
    refusal.headers.emplace_back("Allow", "GET");
    return refusal;
  }
  const bool openMetrics = AcceptsOpenMetrics(request.accept);
  if (request.path == "/probe") {
    return Probe(request, openMetrics);
  }
  if (request.path == "/metrics") {
    return {200, MetricsContentType(openMetrics), stats_.Render(openMetrics), {}};
  }
  if (request.path == "/") {
    return {200, kPlainText, kHelpText, {}};
  }
  stats_.RequestRefused();
  return Refusal(404, "no such page; the exporter serves /probe and /metrics");
}

HttpResponse ExporterService::Probe(const HttpRequest& request, bool openMetrics) {
  ProbeRequest probe;
  try {
    probe = ParseProbeRequest(request.arguments);
  } catch (const BadRequest& error) {
    stats_.RequestRefused();
    return Refusal(400, error.what());
  }
  const ProbeCache::Answer answer = cache_.Probe(probe.target);
  stats_.ProbeAnswered(answer.shared);
  MetricsOptions options;
  options.server = TargetText(probe.target);
  options.players = probe.players;
  // The text serves both formats alike.
  return {200, MetricsContentType(openMetrics), OpenMetricsReport(*answer.snapshot, options), {}};
}

}  // namespace kestrova::exporter
