// Candidate symbols along one scan line. A Code 39 symbol begins and ends
// with the start/stop character `*`, stands between two quiet zones and holds
// 20 + 10k edges (k inner characters of ten edges each, plus the start and
// stop characters), from its first bar's leading edge to its last bar's
// trailing edge. The cutter proposes every run that has this shape; the
// decoder tells which of them is a symbol.
//
// Every width is judged against its neighbours, never against one module for
// the whole line, so a symbol seen in perspective (modules growing along it)
// cuts like a flat one.
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
// first edge, shorter runs first. Fills `runs`.
void cut_symbols(const std::vector<double>& edges, std::vector<edge_run>& runs);

// Stretches of at least `min_dense_edges` edges with no space in them much
// wider than the elements around it: where a symbol may lie, crossed at an
// angle too steep to read. Fills `stretches`.
void dense_stretches(const std::vector<double>& edges,
                     std::vector<edge_run>& stretches);

// The run's edges with every character stretched or shrunk to one width,
// each gap in proportion to the characters beside it: a symbol seen in
// perspective, its module growing along it, as if seen square on. Fills
// `even`.
void even_characters(const std::vector<double>& edges, const edge_run& run,
                     std::vector<double>& even);

// The run's edges with ink spread undone: bars printed (or seen) wider or
// narrower than their modules, spaces the other way. Half the difference of
// the median bar and the median space (both narrow) is taken off each bar
// and given to each space. Fills `thinned`.
void undo_ink_spread(const std::vector<double>& edges, const edge_run& run,
                     std::vector<double>& thinned);

constexpr std::size_t max_runs_per_line = 64;
constexpr std::size_t min_dense_edges = 20;

#endif
