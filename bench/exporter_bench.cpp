// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-exporter as Prometheus meets it: probes over HTTP, each a whole
// query cycle against the simulated server (the cache off), and the
// exporter's resident memory after 10,000 of them.

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <fstream>
#include <memory>
#include <string>

#include "exporter_rig.h"
#include "support/sim_server.h"

namespace kestrova::bench {
namespace {

constexpr int kPlayers = 32;
constexpr int kProbes = 10000;

// VmRSS of process `pid` in KiB, 0 when it cannot be read.
long ResidentKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) {
      return std::stol(line.substr(6));
    }
  }
  return 0;
}

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* sink) {
  static_cast<std::string*>(sink)->append(data, size * count);
  return size * count;
}

void BM_ExporterProbe(benchmark::State& state) {
  std::unique_ptr<test::SimServer> server;
  std::unique_ptr<test::ExporterProcess> exporter;
  try {
    server = std::make_unique<test::SimServer>(std::vector<std::string>{"--players", std::to_string(kPlayers)});
    exporter = std::make_unique<test::ExporterProcess>(std::vector<std::string>{"--cache-seconds", "0"});
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
    return;
  }
  const std::string url = exporter->BaseUrl() + "/probe?target=127.0.0.1:" + std::to_string(server->GamePort()) +
                          "&query_port=" + std::to_string(server->QueryPort());
  const long residentAtStart = ResidentKib(exporter->Pid());
  // One connection for all probes, as Prometheus keeps its own.
  const std::unique_ptr<CURL, void (*)(CURL*)> curl(curl_easy_init(), &curl_easy_cleanup);
  std::string body;
  curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl.get(), CURLOPT_WRITEFUNCTION, &Collect);
  curl_easy_setopt(curl.get(), CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);

  for (auto _ : state) {
    body.clear();
    long status = 0;
    if (curl_easy_perform(curl.get()) != CURLE_OK ||
        curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &status) != CURLE_OK || status != 200) {
      state.SkipWithError("a probe failed");
      break;
    }
    if (body.find("} 1\n# HELP kestrova_status_incomplete") == std::string::npos) {
      state.SkipWithError("a probe did not get the whole cycle");
      break;
    }
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["exporter_rss_kib_at_start"] = static_cast<double>(residentAtStart);
  state.counters["exporter_rss_kib_after"] = static_cast<double>(ResidentKib(exporter->Pid()));
  state.counters["players"] = kPlayers;
}
// A fixed number of probes keeps the datagrams sent to the server bounded
// and makes the memory figure the one after 10,000 probes.
BENCHMARK(BM_ExporterProbe)->Iterations(kProbes)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace kestrova::bench
