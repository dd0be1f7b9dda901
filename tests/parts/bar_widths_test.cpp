// The exported width helpers: module counts of any edges, including those no
// scan line should have, and the general bar/space normalisation. The
// agreement of module widths is judged in round_trip_test's differential.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "tests/support/code39_model.h"
#include "tests/support/plugin_exports.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(NormalizeBarsCode39Ext, CountsAsTheConversionRuleSays) {
  std::mt19937 random(11);
  std::uniform_real_distribution<double> width(-1, 9);
  const double special[] = {kNaN, INFINITY, -1e300, 4294967301.0, 0.0};
  for (int i = 0; i < 5000; ++i) {
    const int modules = 1 + i % 17;
    std::vector<double> edges = {width(random) * 5};
    for (int e = 0; e < i % 13; ++e)  // none too: an empty list
      edges.push_back(edges.back() + width(random));
    if (i % 4 == 0) edges[i / 4 % edges.size()] = special[i / 7 % 5];
    if (i % 3 == 0) edges = code39::reversed(edges);
    // Half-way widths, up to where 0.5 more leaves the 32-bit range.
    if (i % 5 == 0)
      edges = {0, (i % 9 ? i % 9 : 2147483647.0) + 0.5, 1.0 * modules};
    const int elements = static_cast<int>(edges.size()) - 1;
    std::vector<char> counts = {7}, expected = {7};
    code39::append_counts(edges.data(), elements, modules, expected);
    const double module =
        NormalizeBarsCode39Ext(edges.data(), counts, elements, modules);
    const double scale = modules / (edges[elements] - edges[0]);
    EXPECT_TRUE(counts == expected &&
                (module == 1.0 / scale || std::isnan(module)))
        << i;
  }
}

TEST(TarnNormalizeBars, ScalesBarsAndSpacesApart) {
  const struct {
    std::vector<double> edges;
    int window[5];  // start, elements, modules, bars, bar modules
    std::vector<char> counts;
    double ratio;
  } cases[] = {
      {{0, 1.5, 2.5, 5.5, 6, 7.5}, {0, 5, 7, 3, 4}, {1, 2, 2, 1, 1}, 3.0},
      {{0, 2, 3, 5, 6}, {0, 4, 6, 0, 2}, {2, 1, 2, 1}, 1.0},  // no bar width
      {{0, 0.5, 0.75, 1.25, 1.5}, {0, 4, 4, 2, 2}, {1, 1, 1, 1}, 2.0},
      {{6, 5, 3, 2, 0}, {0, 4, 4, 2, 2}, {1, 1, 1, 1}, 1.0},
      {{0, 1, 3, 4, 6, 7}, {1, 2, 3, 1, 1}, {1, 4, 1, 4, 1}, 4.0},
      {{0, 1, 2, -1, kNaN, 302}, {0, 2, 2, 1, 1}, {1, 1, 2, 0, 0}, 1.0},
      {{0, 1, 2, 302}, {0, 2, 2, 1, 1}, {1, 1, 44}, 1.0},
  };
  for (const auto& c : cases) {
    std::vector<char> counts = {9, 9};
    double ratio = 0.0;
    const int* w = c.window;
    tarnNormalizeBars(c.edges, counts, ratio, w[0], w[1], w[2], w[3], w[4]);
    EXPECT_TRUE(counts == c.counts && ratio == c.ratio) << c.edges[1];
  }
}

}  // namespace
