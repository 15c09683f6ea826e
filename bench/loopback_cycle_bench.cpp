// SPDX-License-Identifier: GPL-3.0-or-later
// One whole query cycle over loopback: the info query and the status query
// against the simulated server, started once for all iterations.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "core/datagram_client.h"
#include "core/display_model.h"
#include "core/info_query.h"
#include "core/status_query.h"
#include "support/query_window.h"
#include "support/sim_server.h"

namespace kestrova::bench {
namespace {

constexpr int kPlayers = 32;
constexpr int kCycles = 2000;

void BM_LoopbackQueryCycle(benchmark::State& state) {
  std::unique_ptr<test::SimServer> server;
  try {
    server = std::make_unique<test::SimServer>(std::vector<std::string>{"--players", std::to_string(kPlayers)});
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
    return;
  }
  test::TestEndpoint endpoint;
  endpoint.gamePortText = std::to_string(server->GamePort());
  endpoint.queryPortText = std::to_string(server->QueryPort());
  // The clients live across cycles, as the window's do.
  DatagramClient udp1;
  DatagramClient udp2;
  udp1.ReceiveTimeout = 1000;
  udp2.ReceiveTimeout = 1000;
  DisplayModel shown;

  for (auto _ : state) {
    if (!QueryInfo(udp1, endpoint, shown)) {
      state.SkipWithError("the server gave no valid info reply");
      break;
    }
    QueryStatus(udp2, endpoint, shown);
    if (static_cast<int>(shown.RowCount()) != kPlayers) {
      state.SkipWithError("the status reply did not list every player");
      break;
    }
  }
  state.counters["players"] = kPlayers;
}
// A fixed number of cycles keeps the datagrams sent to the server bounded.
BENCHMARK(BM_LoopbackQueryCycle)->Iterations(kCycles)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace kestrova::bench
