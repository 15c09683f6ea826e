// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/exporter/exporter_stats.h"

#include <charconv>
#include <vector>

namespace kestrova::exporter {

namespace {

// A number as both formats write one; to_chars writes a point whatever
// the locale says. Whole bucket bounds keep a ".0", as OpenMetrics
// writes them.
std::string Number(double value, bool keepPoint = false) {
  char text[64];
  const auto written = std::to_chars(text, text + sizeof text, value);
  std::string out(text, written.ptr);
  if (keepPoint && out.find_first_of(".e") == std::string::npos) {
    out += ".0";
  }
  return out;
}

struct Writer {
  bool openMetrics;
  std::string out;

  // HELP and TYPE of a family; a counter's samples end in "_total", which
  // OpenMetrics leaves out of the family's name and the text format keeps.
  void Family(const std::string& name, const char* type, const char* help, const char* unit = nullptr) {
    const std::string family = !openMetrics && std::string(type) == "counter" ? name + "_total" : name;
    out += "# HELP " + family + " " + help + "\n";
    out += "# TYPE " + family + " " + type + "\n";
    if (openMetrics && unit != nullptr) {
      out += "# UNIT " + family + " " + unit + "\n";
    }
  }
  void Sample(const std::string& name, const std::string& value) { out += name + " " + value + "\n"; }
};

}  // namespace

void ExporterStats::ProbeAnswered(bool shared) {
  const std::lock_guard lock(mutex_);
  ++probes_;
  shared_ += shared ? 1 : 0;
}

void ExporterStats::QueryEnded(double seconds, bool complete) {
  const std::lock_guard lock(mutex_);
  ++queries_;
  seconds_ += seconds;
  failures_ += complete ? 0 : 1;
  for (std::size_t i = 0; i < kBuckets.size(); ++i) {
    buckets_[i] += seconds <= kBuckets[i] ? 1 : 0;
  }
}

void ExporterStats::RequestRefused() {
  const std::lock_guard lock(mutex_);
  ++refused_;
}

std::string ExporterStats::Render(bool openMetrics) const {
  const std::lock_guard lock(mutex_);
  Writer w{openMetrics, {}};
  w.Family("kestrova_exporter_build_info", "gauge", "The exporter's version.");
  w.Sample("kestrova_exporter_build_info{version=\"" KESTROVA_VERSION "\"}", "1");
  w.Family("kestrova_exporter_probes", "counter", "Probes answered with metrics, from a shared cycle or not.");
  w.Sample("kestrova_exporter_probes_total", std::to_string(probes_));
  w.Family("kestrova_exporter_cache_hits", "counter",
           "Probes answered from another probe's query cycle, a recent or a running one, without asking the "
           "server.");
  w.Sample("kestrova_exporter_cache_hits_total", std::to_string(shared_));
  w.Family("kestrova_exporter_query_failures", "counter",
           "Query cycles without a complete answer: no valid info reply, or a status reply that did not come, "
           "lacked a part or failed.");
  w.Sample("kestrova_exporter_query_failures_total", std::to_string(failures_));
  w.Family("kestrova_exporter_refused_requests", "counter",
           "Requests answered with an error: bad probe arguments, an unknown path or a method other than GET.");
  w.Sample("kestrova_exporter_refused_requests_total", std::to_string(refused_));
  const std::string duration = "kestrova_exporter_query_duration_seconds";
  w.Family(duration, "histogram", "How long the query cycles sent to game servers took.", "seconds");
  for (std::size_t i = 0; i < kBuckets.size(); ++i) {
    w.Sample(duration + "_bucket{le=\"" + Number(kBuckets[i], openMetrics) + "\"}", std::to_string(buckets_[i]));
  }
  w.Sample(duration + "_bucket{le=\"+Inf\"}", std::to_string(queries_));
  w.Sample(duration + "_sum", Number(seconds_));
  w.Sample(duration + "_count", std::to_string(queries_));
  if (openMetrics) {
    w.out += "# EOF\n";
  }
  return w.out;
}

}  // namespace kestrova::exporter
