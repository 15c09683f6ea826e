// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing cost of the replies, with no sockets: the tokenizer on a reply of
// one full receive buffer, and the info and status readers on the replies
// of a full 64-player server.

#include <benchmark/benchmark.h>

#include "core/display_model.h"
#include "core/info_query.h"
#include "core/reply_text.h"
#include "core/status_query.h"
#include "sample_replies.h"

namespace kestrova::bench {
namespace {

void BM_SplitCommaText(benchmark::State& state) {
  // A status reply grown to the client's 8192-byte receive buffer.
  std::string text = NormaliseReply(SampleStatusReply(128));
  text.resize(8192);
  TokenList tokens;
  for (auto _ : state) {
    SplitCommaText(text, tokens);
    benchmark::DoNotOptimize(tokens.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
  state.counters["tokens"] = static_cast<double>(tokens.size());
}
BENCHMARK(BM_SplitCommaText);

void BM_ShowInfoReply(benchmark::State& state) {
  const std::string reply = SampleInfoReply();
  DisplayModel shown;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ShowInfoReply(reply, shown));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(reply.size()));
}
BENCHMARK(BM_ShowInfoReply);

void BM_ShowStatusReply(benchmark::State& state) {
  const std::string reply = SampleStatusReply(static_cast<int>(state.range(0)));
  DisplayModel shown;
  for (auto _ : state) {
    ShowStatusReply(reply, shown);
  }
  if (static_cast<std::int64_t>(shown.RowCount()) != state.range(0)) {
    state.SkipWithError("the reply did not give one row per player");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(reply.size()));
  state.counters["replyBytes"] = static_cast<double>(reply.size());
}
BENCHMARK(BM_ShowStatusReply)->Arg(64);

}  // namespace
}  // namespace kestrova::bench
