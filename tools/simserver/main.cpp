// SPDX-License-Identifier: GPL-3.0-or-later
// kestrova-simserver: a simulated game server on 127.0.0.1 for tests,
// demos and benchmarks. See --help.
#include <csignal>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/simserver/initial_state.h"
#include "tools/simserver/server_loop.h"
#include "tools/simserver/server_options.h"
#include "tools/simserver/stop_signals.h"

using namespace kestrova::simserver;

int main(int argc, char** argv) {
  // A reader that went away must not kill the server in the middle of an
  // answer line.
  std::signal(SIGPIPE, SIG_IGN);
  try {
    ServerOptions options = ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    }
    if (options.version) {
      std::printf("kestrova-simserver %s\n", KESTROVA_VERSION);
      return 0;
    }
    std::mt19937 random(options.seed.value_or(std::random_device{}()));
    ServerState state = InitialState(options, random);
    if (options.loss) {
      const auto [percent, seed] = *options.loss;
      options.faults.SetLoss(percent, seed.value_or(static_cast<unsigned>(random())));
    }
    StopSignals signals;
    ServerLoop loop(
        std::move(state), options.faults,
        LoopSetup{options.gamePort, options.queryPort, options.frozen, static_cast<unsigned>(random()), options.style});
    std::printf("kestrova-simserver game %d query %d\n", loop.GamePort(), loop.QueryPort());
    std::fflush(stdout);
    loop.Run(signals);
    return 0;
  } catch (const std::invalid_argument& error) {
    std::fprintf(stderr, "kestrova-simserver: %s\nTry 'kestrova-simserver --help'.\n", error.what());
    return 2;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "kestrova-simserver: %s\n", error.what());
    return 1;
  }
}
