// Candidate symbols along one scan line. A Code 39 symbol stands between two
// quiet zones and holds 20 + 10k edges (k inner characters of ten edges each,
// plus the start and stop characters), from its first bar's leading edge to
// its last bar's trailing edge. The cutter proposes every such run; the
// decoder tells which of them is a symbol.
#ifndef TARN_HOST_SYMBOL_CUTTER_H
#define TARN_HOST_SYMBOL_CUTTER_H

#include <cstddef>
#include <vector>

// Edges first to last (indices into the line's edges), both included.
struct edge_run {
  std::size_t first;
  std::size_t last;
  bool operator==(const edge_run& other) const {
    return first == other.first && last == other.last;
  }
};

// `edges` alternate leading and trailing edges of bars, starting with a
// leading edge; they may ascend or descend. The ends of the line count as
// quiet zones. At most `max_runs_per_line` runs come back, in order of their
// first edge, shorter runs first.
std::vector<edge_run> cut_symbols(const std::vector<double>& edges);

constexpr std::size_t max_runs_per_line = 64;

#endif
