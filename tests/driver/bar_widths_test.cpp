// Edge positions to module counts, and the module-width agreement check.
#include "driver/bar_widths.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Counts as the token stream reads them: signed bytes.
std::vector<int> as_signed(const std::vector<char>& counts) {
  std::vector<int> values;
  for (char count : counts) values.push_back(static_cast<signed char>(count));
  return values;
}

struct normalize_case {
  const char* name;
  std::vector<double> edges;
  int modules;
  std::vector<int> counts;
  double module_width;
};

void expect_normalized(const normalize_case& c) {
  std::vector<char> counts;
  const double width = NormalizeBarsCode39Ext(
      c.edges.data(), counts, static_cast<int>(c.edges.size()) - 1, c.modules);
  EXPECT_EQ(as_signed(counts), c.counts) << c.name;
  EXPECT_EQ(width, c.module_width) << c.name;
}

TEST(NormalizeBarsCode39Ext, ScalesEachElementByTheCharactersOwnWidth) {
  const normalize_case cases[] = {
      {"narrow 1, wide 2",
       {0, 1, 3, 4, 5, 7, 8, 10, 11, 12},
       12,
       {1, 2, 1, 1, 2, 1, 2, 1, 1},
       1.0},
      {"descending positions",
       {12, 11, 10, 8, 7, 5, 4, 3, 1, 0},
       12,
       {1, 1, 2, 1, 2, 1, 1, 2, 1},
       -1.0},
      {"stretched by 3",
       {0, 3, 9, 12, 15, 21, 24, 30, 33, 36},
       12,
       {1, 2, 1, 1, 2, 1, 2, 1, 1},
       3.0},
      {"offset far from 0",
       {1e6, 1e6 + 1, 1e6 + 3, 1e6 + 4, 1e6 + 5, 1e6 + 7, 1e6 + 8, 1e6 + 10,
        1e6 + 11, 1e6 + 12},
       12,
       {1, 2, 1, 1, 2, 1, 2, 1, 1},
       1.0},
      // Narrow 0.8 and wide 2.4 modules.
      {"wide three times narrow",
       {0, 1, 4, 5, 6, 9, 10, 13, 14, 15},
       12,
       {1, 2, 1, 1, 2, 1, 2, 1, 1},
       1.25},
      // The reciprocal of the scale, 1 / (12 / 11), not 11 / 12: the two
      // differ in the last bit, and the width check sees every bit.
      {"module width is the reciprocal of the scale",
       {0, 1, 3, 4, 5, 7, 8, 9, 10, 11},
       12,
       {1, 2, 1, 1, 2, 1, 1, 1, 1},
       0.9166666666666667},
      {"coincident edges", std::vector<double>(10, 5.0), 12,
       std::vector<int>(9, 0), 0.0},
  };
  for (const normalize_case& c : cases) expect_normalized(c);
}

TEST(NormalizeBarsCode39Ext, RoundsHalfUpTruncatesAndKeepsTheLowByte) {
  // Edges {0, x, total} with modules == total: the scale is 1, so the
  // quotients are x and total - x.
  const normalize_case cases[] = {
      {"exactly half rounds up", {0, 1.5, 3}, 3, {2, 2}, 1.0},
      {"just below half rounds down", {0, 1.499, 3}, 3, {1, 2}, 1.0},
      {"toward zero, not down", {0, -0.7, 3}, 3, {0, 4}, 1.0},
      {"negative count", {0, -1.7, 3}, 3, {-1, 5}, 1.0},
      {"127.49 stays positive", {0, 127.49, 255}, 255, {127, -128}, 1.0},
      {"127.5 reads back as -128", {0, 127.5, 255}, 255, {-128, -128}, 1.0},
      {"200 reads back as -56", {0, 200, 400}, 400, {-56, -56}, 1.0},
      // 2^32 + 5 clamps to INT32_MAX (low byte 0xFF), not wrapping to 5.
      {"beyond 32 bits clamps", {0, 4294967301.0, 1}, 1, {-1, 0}, 1.0},
      {"just inside the negative limit",
       {0, -2147483648.4, 1},
       1,
       {1, -1},
       1.0},
      {"NaN position", {0, kNaN, 2}, 2, {0, 0}, 1.0},
      // Scale +inf: +inf clamps to INT32_MAX, -inf to INT32_MIN.
      {"zero total width", {0, 1, 0}, 12, {-1, 0}, 0.0},
  };
  for (const normalize_case& c : cases) expect_normalized(c);
}

TEST(NormalizeBarsCode39Ext, AppendsAfterWhatTheListHolds) {
  const double edges[] = {0, 1, 3, 4, 5, 7, 8, 10, 11, 12};
  std::vector<char> counts = {7, 0};
  NormalizeBarsCode39Ext(edges, counts, 9, 12);
  EXPECT_EQ(as_signed(counts),
            (std::vector<int>{7, 0, 1, 2, 1, 1, 2, 1, 2, 1, 1}));
}

TEST(CheckMeanCode39ExtModuleWidths, AcceptsOnlyAVarianceBelowAQuarter) {
  struct check_case {
    const char* name;
    std::vector<double> widths;
    int n;
    int agree;
  } const cases[] = {
      {"equal", {2.0, 2.0, 2.0}, 3, 1},
      {"variance exactly 0.25", {1.0, 2.0}, 2, 0},
      {"variance 0.2025", {1.0, 1.9}, 2, 1},
      {"threshold is absolute, not relative", {100.0, 100.9}, 2, 1},
      {"negative widths", {-1.0, -1.0, -1.0}, 3, 1},
      {"signs differ", {-1.0, 1.0}, 2, 0},
      {"only the first n count", {1.0, 1.0, 50.0}, 2, 1},
      {"no widths", {}, 0, 0},
      {"NaN", {1.0, kNaN}, 2, 0},
      {"infinite", {1.0, kInf}, 2, 0},
  };
  for (const check_case& c : cases) {
    EXPECT_EQ(CheckMeanCode39ExtModuleWidths(c.widths.data(), c.n), c.agree)
        << c.name;
  }
}

TEST(TarnNormalizeBars, ScalesBarsAndSpacesApart) {
  struct window {
    int start, elements, modules, bars, bar_modules;
  };
  struct window_case {
    const char* name;
    std::vector<double> edges;
    window w;
    std::vector<int> counts;
    double ratio;
  } const cases[] = {
      {"bars wider per module",
       {0, 2, 3, 5, 6},
       {0, 4, 4, 2, 2},
       {1, 1, 1, 1},
       2.0},
      // Bars 1.5 units a module, spaces 0.5: one common unit would misread.
      {"ink spread",
       {0, 1.5, 2.5, 5.5, 6, 7.5},
       {0, 5, 7, 3, 4},
       {1, 2, 2, 1, 1},
       3.0},
      {"no bars in the window",
       {0, 2, 3, 5, 6},
       {0, 4, 6, 0, 0},
       {2, 1, 2, 1},
       1.0},
      {"descending positions",
       {6, 5, 3, 2, 0},
       {0, 4, 4, 2, 2},
       {1, 1, 1, 1},
       1.0},
      // The window's bar is element 1, yet elements 0, 2, 4 are divided by
      // the bar unit (2) and elements 1, 3 by the space unit (0.5).
      {"parity from the first edge",
       {0, 1, 3, 4, 6, 7},
       {1, 2, 3, 1, 1},
       {1, 4, 1, 4, 1},
       4.0},
      // A negative quotient keeps the magnitude of its rounded count (-3
      // rounds to -2); NaN rounds to INT32_MIN, whose magnitude stores 0.
      {"magnitudes", {0, 1, 2, -1, kNaN}, {0, 2, 2, 1, 1}, {1, 1, 2, 0}, 1.0},
      {"low byte of a long element",
       {0, 1, 2, 302},
       {0, 2, 2, 1, 1},
       {1, 1, 44},
       1.0},
  };
  for (const window_case& c : cases) {
    std::vector<char> counts = {9, 9, 9, 9, 9, 9, 9};
    double ratio = 0.0;
    tarnNormalizeBars(c.edges, counts, ratio, c.w.start, c.w.elements,
                      c.w.modules, c.w.bars, c.w.bar_modules);
    EXPECT_EQ(as_signed(counts), c.counts) << c.name;
    EXPECT_EQ(ratio, c.ratio) << c.name;
  }
}

TEST(TarnNormalizeBars, ASingleEdgeLeavesNoCounts) {
  std::vector<char> counts = {1, 2, 3};
  double ratio = 0.0;
  tarnNormalizeBars({5.0}, counts, ratio, 0, 0, 1, 0, 0);
  EXPECT_TRUE(counts.empty());
}

}  // namespace
