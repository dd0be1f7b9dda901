// Parsing one symbol from its loaded token stream, for symbols of growing
// length: the time per token should stay flat.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "grammar/code39_patterns.h"
#include "grammar/parser.h"
#include "grammar/token_stream.h"

namespace {

void append_character(std::vector<char>& counts, const code39_pattern& row) {
  for (int i = 0; i < code39_elements_per_character; ++i) {
    counts.push_back(row.elements[i] == 'W' ? 2 : 1);
  }
}

// Start, data characters cycling through the symbology, stop; narrow gaps.
std::vector<char> symbol_counts(int data_characters) {
  const code39_pattern& star = *std::find_if(
      code39_patterns.begin(), code39_patterns.end(),
      [](const code39_pattern& row) { return row.character == '*'; });
  std::vector<char> counts;
  append_character(counts, star);
  for (int i = 0; i < data_characters; ++i) {
    counts.push_back(1);
    append_character(counts, code39_patterns[i % code39_patterns.size()]);
  }
  counts.push_back(1);
  append_character(counts, star);
  return counts;
}

void BM_ParseSymbol(benchmark::State& state) {
  const int data_characters = static_cast<int>(state.range(0));
  setup_lexer(symbol_counts(data_characters));
  for (auto _ : state) {
    _index = 0;
    if (yyparse() != 0) state.SkipWithError("symbol rejected");
    benchmark::DoNotOptimize(decoded);
  }
  state.SetComplexityN(data_characters);
  state.SetItemsProcessed(state.iterations() * _bar_thicknesses.size());
}
BENCHMARK(BM_ParseSymbol)
    ->Arg(20)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Complexity(benchmark::oN);

}  // namespace
