// What the player list's order costs: a list re-sorts itself with every
// row it gets, so a cycle with N players compares about N * N log N pairs.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/caption_order.h"

namespace kestrova::bench {
namespace {

std::vector<std::string> SampleCaptions(int count) {
  const char* const stems[] = {" [TAG]Sniper", " alice", " Bob", " \xC4rger", " _x_", " 1up", " \xC9mile", " Zorro"};
  std::vector<std::string> captions;
  for (int i = 0; i < count; ++i) {
    captions.push_back(stems[i % 8] + std::to_string(i * 37 % 101));
  }
  return captions;
}

// The rows arriving one by one, the list sorted again after each, as the
// window's list does it.
void BM_FillSortedPlayerList(benchmark::State& state) {
  const std::vector<std::string> captions = SampleCaptions(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::vector<std::string> rows;
    for (const std::string& caption : captions) {
      rows.push_back(caption);
      std::stable_sort(rows.begin(), rows.end(),
                       [](const std::string& a, const std::string& b) { return CompareCaptions(a, b) < 0; });
    }
    benchmark::DoNotOptimize(rows.data());
  }
}
BENCHMARK(BM_FillSortedPlayerList)->Arg(16)->Arg(64);

void BM_CompareTwoCaptions(benchmark::State& state) {
  const std::string a = " Player Number 17";
  const std::string b = " player number 17";
  for (auto _ : state) {
    benchmark::DoNotOptimize(CompareCaptions(a, b));
  }
}
BENCHMARK(BM_CompareTwoCaptions);

}  // namespace
}  // namespace kestrova::bench
