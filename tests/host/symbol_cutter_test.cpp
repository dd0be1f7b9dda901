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

// Appends a symbol `space_before` modules after the line's last edge.
void add_symbol(std::vector<double>& edges, double space_before,
                const std::string& code, double module = 3, double ratio = 2) {
  code39::print print;
  print.narrow = module;
  print.ratio = ratio;
  print.origin = (edges.empty() ? 0 : edges.back()) + space_before * module;
  for (double edge : code39::symbol_edges(code, print)) edges.push_back(edge);
}

// Lone bars of text beside the symbols.
void add_bar(std::vector<double>& edges, double space_before, double width) {
  edges.push_back(edges.back() + space_before);
  edges.push_back(edges.back() + width);
}

struct cut_case {
  const char* what;
  std::vector<double> edges;
  std::vector<edge_run> runs;
};

std::vector<cut_case> cut_cases() {
  std::vector<cut_case> cases;
  std::vector<double> e;
  add_symbol(e, 10, "CODE39");
  cases.push_back({"between quiet zones", e, {{0, 79}}});
  e.clear();
  add_symbol(e, 0, "AB", 3, 3);
  cases.push_back({"line ends are quiet zones, ratio 3", e, {{0, 39}}});
  e = {0, 3};
  add_symbol(e, 3, "AB");
  add_bar(e, 9, 3);
  cases.push_back({"three-module quiet zones next to text", e, {{2, 41}}});
  e = {0, 3};
  add_symbol(e, 1.5, "AB");
  cases.push_back({"no quiet zone", e, {}});
  e.clear();
  add_symbol(e, 10, "AB");
  add_symbol(e, 3, "CDE");
  cases.push_back({"two symbols close together", e, {{0, 39}, {40, 89}}});
  e.clear();
  add_symbol(e, 10, "P");  // read backwards, * has P's pattern
  cases.push_back({"P inside", e, {{0, 29}}});
  e.clear();
  add_symbol(e, 10, "AB");
  add_bar(e, 30, 3);
  e.push_back(e.back() + 40);  // a bar that never closes
  cases.push_back({"whole symbols only", e, {{0, 39}}});
  return cases;
}

TEST(SymbolCutter, ProposesEveryRunShapedLikeASymbol) {
  for (const cut_case& c : cut_cases()) {
    std::vector<edge_run> runs;
    cut_symbols(c.edges, runs);
    EXPECT_THAT(runs, ElementsAreArray(c.runs)) << c.what;
    // Read the other way along the line, the same runs.
    std::vector<double> descending(c.edges.size());
    std::transform(c.edges.begin(), c.edges.end(), descending.begin(),
                   [](double at) { return 1000 - at; });
    std::vector<edge_run> mirrored;
    cut_symbols(descending, mirrored);
    EXPECT_EQ(mirrored, runs) << c.what;
  }
}

TEST(SymbolCutter, EvenCharactersUndoPerspective) {
  std::vector<double> flat;
  add_symbol(flat, 0, "CODE39");
  // The module grows fourfold along the symbol.
  std::vector<double> far(flat.size());
  std::transform(flat.begin(), flat.end(), far.begin(),
                 [&](double x) { return x + 1.5 * x * x / flat.back(); });
  std::vector<double> even;
  even_characters(far, {0, far.size() - 1}, even);
  ASSERT_EQ(even.size(), flat.size());
  const double scale = even.back() / flat.back();
  for (std::size_t i = 0; i < flat.size(); ++i)
    EXPECT_NEAR(even[i], flat[i] * scale, 0.5 * scale * 3)
        << i;  // half a module
}

TEST(SymbolCutter, UndoesInkSpread) {
  std::vector<double> printed;
  add_symbol(printed, 0, "CODE39");
  for (double spread : {1.0, -1.0}) {  // a third of a module either way
    std::vector<double> seen = printed;
    for (std::size_t i = 0; i < seen.size(); ++i)
      seen[i] += (i % 2 == 0 ? -0.5 : 0.5) * spread;
    std::vector<double> thinned;
    undo_ink_spread(seen, {0, seen.size() - 1}, thinned);
    ASSERT_EQ(thinned.size(), printed.size());
    for (std::size_t i = 0; i < printed.size(); ++i)
      EXPECT_NEAR(thinned[i], printed[i], 1e-9) << spread << " " << i;
  }
}

}  // namespace
