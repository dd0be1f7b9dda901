// The symbol cutter on edge lists laid out module by module.
#include "find/symbol_cutter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/code39_model.h"

namespace {

using ::testing::ElementsAreArray;

// A scan line's edges, built left to right; each piece starts `space`
// pixels or modules (of 3 pixels) after the last edge.
struct line {
  std::vector<double> e;
  line& edge(double space) {
    e.push_back((e.empty() ? 0 : e.back()) + space);
    return *this;
  }
  line& bar(double space, double width) { return edge(space).edge(width); }
  line& symbol(double space, const std::string& code, double ratio = 2,
               double gap = 1) {
    code39::print print;
    print.narrow = 3;
    print.ratio = ratio;
    print.gap = gap;
    print.origin = (e.empty() ? 0 : e.back()) + space * 3;
    for (double edge : code39::symbol_edges(code, print)) e.push_back(edge);
    return *this;
  }
};

// The edges with each bar that starts at one of `bars` (edge indices) made
// `by` wider, the rest shifted along.
std::vector<double> widened(std::vector<double> edges,
                            std::initializer_list<std::size_t> bars,
                            double by) {
  for (std::size_t bar : bars)
    for (std::size_t i = bar + 1; i < edges.size(); ++i) edges[i] += by;
  return edges;
}

// The line turned end for end: what it holds, read backwards.
std::vector<double> backwards(std::vector<double> edges) {
  std::reverse(edges.begin(), edges.end());
  for (double& at : edges) at = 1000 - at;
  return edges;
}

TEST(SymbolCutter, ProposesEveryRunShapedLikeASymbol) {
  // The lone bars are text beside the symbols. Read backwards, * has P's
  // pattern.
  // clang-format off
  const std::tuple<const char*, std::vector<double>, std::vector<edge_run>> cases[] = {
      {"between quiet zones", line().symbol(10, "CODE39").e, {{0, 79}}},
      {"line ends are quiet zones, ratio 3", line().symbol(0, "AB", 3).e, {{0, 39}}},
      {"3-module quiet zones next to text", line().bar(0, 3).symbol(3, "AB").bar(9, 3).e, {{2, 41}}},
      {"no quiet zone", line().bar(0, 3).symbol(1.5, "AB").e, {}},
      {"two symbols close together", line().symbol(10, "AB").symbol(3, "CDE").e, {{0, 39}, {40, 89}}},
      {"P inside", line().symbol(10, "P").e, {{0, 29}}},
      {"whole symbols only: a bar never closes", line().symbol(10, "AB").bar(30, 3).edge(40).e, {{0, 39}}},
      {"backwards", backwards(line().symbol(10, "AB").e), {{0, 39}}},
      // Bars 2 1 3 2 1 modules: no `*`, its first and last bars too wide
      // beside the wide ones.
      {"backwards, a stop with wide outer bars", backwards(widened(line().symbol(10, "AB").e, {30, 34}, 3)), {}},
  };
  // clang-format on
  for (const auto& [what, edges, expected] : cases) {
    std::vector<edge_run> runs;
    cut_symbols(edges, runs);
    EXPECT_THAT(runs, ElementsAreArray(expected)) << what;
    // Read the other way along the line, the same runs.
    std::vector<double> descending(edges.size());
    std::transform(edges.begin(), edges.end(), descending.begin(),
                   [](double at) { return 1000 - at; });
    std::vector<edge_run> mirrored;
    cut_symbols(descending, mirrored);
    EXPECT_EQ(mirrored, runs) << what;
  }
}

// Both on a symbol behind five lone bars.
TEST(SymbolCutter, EvensCharactersAndUndoesInkSpread) {
  const std::vector<double> printed = line().symbol(0, "CODE39").e;
  const edge_run symbol = {10, printed.size() + 9};
  std::vector<double> bars;
  for (double x = 0; x < 30; x += 6) bars.insert(bars.end(), {x, x + 3});
  // The module grows fourfold along the symbol.
  std::vector<double> far = bars, even;
  for (double x : printed) far.push_back(40 + x + 1.5 * x * x / printed.back());
  even_characters(far, symbol, even);
  ASSERT_EQ(even.size(), printed.size());
  const double scale = even.back() / printed.back();
  for (std::size_t i = 0; i < printed.size(); ++i)  // within half a module
    EXPECT_NEAR(even[i], printed[i] * scale, 0.5 * scale * 3) << i;
  for (std::size_t gap = 10; gap < printed.size(); gap += 10)  // a third
    EXPECT_NEAR(even[gap] - even[gap - 1], scale, 0.1 * scale) << gap;
  for (double spread : {1.2, -0.8}) {  // bars wider or thinner
    std::vector<double> seen = bars;
    for (std::size_t i = 0; i < printed.size(); ++i)
      seen.push_back(40 + printed[i] + (i % 2 == 0 ? -0.5 : 0.5) * spread);
    std::vector<double> thinned;
    undo_ink_spread(seen, symbol, thinned);
    ASSERT_EQ(thinned.size(), printed.size());
    for (std::size_t i = 0; i < printed.size(); ++i)
      EXPECT_NEAR(thinned[i], 40 + printed[i], 1e-9) << spread << " " << i;
  }
}

}  // namespace
