// The symbol cutter on edge lists laid out module by module.
#include "find/symbol_cutter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

// Appends `characters` characters of nine elements each (the Code 39 start
// character's pattern, wide elements `wide` modules) separated by one-module
// gaps, beginning `space_before` modules after the line's last edge.
void add_symbol(std::vector<double>& edges, double space_before, int characters,
                double wide = 2, double module = 3) {
  const double elements[] = {1, wide, 1, 1, wide, 1, wide, 1, 1};
  double at = (edges.empty() ? 0 : edges.back()) + space_before * module;
  for (int c = 0; c < characters; ++c) {
    if (c > 0) at += module;  // the gap between characters
    edges.push_back(at);
    for (double modules : elements) edges.push_back(at += modules * module);
  }
}

TEST(SymbolCutter, ASymbolBetweenQuietZonesIsOneRun) {
  for (double wide : {2.0, 2.5, 3.0}) {
    std::vector<double> edges;
    add_symbol(edges, 10, 4, wide);
    EXPECT_THAT(cut_symbols(edges), ElementsAre(edge_run{0, 39})) << wide;
  }
}

TEST(SymbolCutter, TheLineEndsAreQuietZones) {
  std::vector<double> edges;
  add_symbol(edges, 0, 3);
  EXPECT_THAT(cut_symbols(edges), ElementsAre(edge_run{0, 29}));
}

TEST(SymbolCutter, QuietZonesNeedFourModules) {
  // Lone bars 3.5 or 4 modules before and after a symbol.
  for (double space : {3.5, 4.0}) {
    std::vector<double> edges = {0, 3};
    add_symbol(edges, space, 3);
    edges.push_back(edges.back() + space * 3);
    edges.push_back(edges.back() + 3);
    const std::vector<edge_run> runs = cut_symbols(edges);
    if (space < 4)
      EXPECT_TRUE(runs.empty());
    else
      EXPECT_THAT(runs, Contains(edge_run{2, 31}));
  }
}

TEST(SymbolCutter, FindsEachOfTwoSymbolsOnALine) {
  std::vector<double> edges;
  add_symbol(edges, 10, 3);
  add_symbol(edges, 12, 5);
  const std::vector<edge_run> runs = cut_symbols(edges);
  EXPECT_THAT(runs, Contains(edge_run{0, 29}));
  EXPECT_THAT(runs, Contains(edge_run{30, 79}));
}

TEST(SymbolCutter, ProposesOnlyWholeSymbolEdgeCounts) {
  // Two lone bars after a symbol make 34 edges from the first to the last.
  std::vector<double> edges;
  add_symbol(edges, 10, 3);
  for (int bar = 0; bar < 2; ++bar) {
    edges.push_back(edges.back() + 30);
    edges.push_back(edges.back() + 3);
  }
  EXPECT_THAT(cut_symbols(edges), ElementsAre(edge_run{0, 29}));

  std::vector<double> too_short;
  add_symbol(too_short, 10, 2);
  EXPECT_TRUE(cut_symbols(too_short).empty());
}

TEST(SymbolCutter, DescendingPositionsCutAlike) {
  std::vector<double> edges;
  add_symbol(edges, 10, 3);
  std::vector<double> descending(edges.size());
  std::transform(edges.begin(), edges.end(), descending.begin(),
                 [](double at) { return 1000 - at; });
  EXPECT_EQ(cut_symbols(descending), cut_symbols(edges));
}

TEST(SymbolCutter, IgnoresABarThatNeverCloses) {
  std::vector<double> edges;
  add_symbol(edges, 10, 3);
  edges.push_back(edges.back() + 40);
  EXPECT_THAT(cut_symbols(edges), ElementsAre(edge_run{0, 29}));
}

TEST(SymbolCutter, BoundsTheRunsOfALineFullOfQuietZones) {
  // Single characters a quiet zone apart: any three or more in a row have a
  // symbol's edge count.
  std::vector<double> edges;
  for (int character = 0; character < 40; ++character) add_symbol(edges, 10, 1);
  EXPECT_EQ(cut_symbols(edges).size(), max_runs_per_line);
}

}  // namespace
