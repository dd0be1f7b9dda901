// Whole decode calls on one scan line: a 20-character symbol read forward and
// backward, and the two rejects a host meets on lines that hold no symbol.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "plugin/tarn_code39ext.h"
#include "tests/support/code39_model.h"

namespace {

const std::string kData = "CODE39 EXT 2024-06.X";  // 20 characters

std::vector<double> printed_symbol() {
  code39::print p;
  p.narrow = 3.0;
  p.ratio = 2.5;
  p.gap = 3.0;
  return code39::symbol_edges(kData, p);
}

void run_decode(benchmark::State& state, std::vector<double> edges,
                bool decodes) {
  const tarn_code39ext decoder;
  tarn_result result;
  result.edges = std::move(edges);
  for (auto _ : state) {
    if (decoder.decode(result, TARN_CHECKSUM_NONE, nullptr, 0, nullptr) !=
        decodes) {
      state.SkipWithError("unexpected decode result");
      break;
    }
  }
}

void BM_DecodeForward(benchmark::State& state) {
  run_decode(state, printed_symbol(), true);
}
BENCHMARK(BM_DecodeForward);

// The forward attempt parses and fails first.
void BM_DecodeReversed(benchmark::State& state) {
  std::vector<double> edges = printed_symbol();
  std::reverse(edges.begin(), edges.end());
  run_decode(state, edges, true);
}
BENCHMARK(BM_DecodeReversed);

// 220 equal elements: the widths agree, so both attempts parse and fail.
void BM_RejectValidEdgeCount(benchmark::State& state) {
  std::vector<double> edges;
  for (int i = 0; i < 220; ++i) edges.push_back(3.0 * i);
  run_decode(state, edges, false);
}
BENCHMARK(BM_RejectValidEdgeCount);

// Character widths that never agree: no parse runs.
void BM_RejectWidthsDisagree(benchmark::State& state) {
  std::vector<double> edges;
  for (int i = 0; i < 220; ++i) edges.push_back(1.0 * i * i);
  run_decode(state, edges, false);
}
BENCHMARK(BM_RejectWidthsDisagree);

void BM_RejectWrongEdgeCount(benchmark::State& state) {
  std::vector<double> edges = printed_symbol();
  edges.pop_back();
  run_decode(state, edges, false);
}
BENCHMARK(BM_RejectWrongEdgeCount);

}  // namespace
