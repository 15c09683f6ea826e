// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "tools/exporter/exporter_stats.h"
#include "tools/exporter/probe_cache.h"
#include "tools/exporter/probe_target.h"

namespace kestrova::exporter {

// One HTTP request, as far as the exporter reads it.
struct HttpRequest {
  std::string method;
  std::string path;
  UrlArguments arguments;
  // The Accept header; empty without one.
  std::string accept;
};

struct HttpResponse {
  int status = 200;
  std::string contentType;
  std::string body;
  // Further headers, such as Allow.
  std::vector<std::pair<std::string, std::string>> headers;
};

// The exporter's answers: GET /probe (a query cycle of one game server as
// metrics), GET /metrics (the exporter's own figures) and GET / (a short
// help text). Anything else is refused with a one-line reason: 400 for bad
// probe arguments, 404 for another path, 405 for another method. Safe to
// use from many threads at once.
class ExporterService final {
 public:
  ExporterService(ProbeCache& cache, ExporterStats& stats) : cache_(cache), stats_(stats) {}

  HttpResponse Handle(const HttpRequest& request);

 private:
  HttpResponse Probe(const HttpRequest& request, bool openMetrics);

  ProbeCache& cache_;
  ExporterStats& stats_;
};

// Whether an Accept header asks for the OpenMetrics text format, as
// Prometheus's scrapes do; other askers get the Prometheus text format.
bool AcceptsOpenMetrics(const std::string& accept);

// The content type of a metrics answer in either format.
std::string MetricsContentType(bool openMetrics);

// The most query cycles that run at once; a further one waits for one of
// them to end. Each holds two sockets and waits up to a second per reply.
inline constexpr int kMostRunningCycles = 16;

// A query cycle for the cache: one cycle of kestrova-query against the
// target, no more than kMostRunningCycles at once, and its figures counted
// in `stats`.
ProbeCache::Query QueryCycleCounted(ExporterStats& stats);

}  // namespace kestrova::exporter
