// The edge finder on synthetic profiles whose edges are known exactly.
#include "find/edge_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Elements of a Code 39 start character followed by a character gap, in
// modules: bar, space, bar, ... Repeated to make a line.
const std::vector<double> character_modules = {1, 2, 1, 1, 2, 1, 2, 1, 1, 1};

// Edges of `characters` characters starting at `start`, `module` pixels per
// module. The last character's gap is dropped, so the line ends on a bar.
std::vector<double> pattern_edges(double start, double module, int characters) {
  std::vector<double> edges{start};
  for (int c = 0; c < characters; ++c)
    for (double modules : character_modules)
      edges.push_back(edges.back() + modules * module);
  edges.pop_back();
  return edges;
}

// Each pixel's share of bar [a, b) coverage, as a camera with square pixels
// sees it.
profile render(const std::vector<double>& edges, int length, float dark,
               float light) {
  profile line(static_cast<std::size_t>(length), light);
  for (std::size_t e = 0; e + 1 < edges.size(); e += 2)
    for (int x = 0; x < length; ++x) {
      const double covered =
          std::min<double>(x + 1, edges[e + 1]) - std::max<double>(x, edges[e]);
      if (covered > 0)
        line[static_cast<std::size_t>(x)] -=
            static_cast<float>(covered) * (light - dark);
    }
  return line;
}

profile gaussian_blur(const profile& line, double sigma) {
  const int reach = static_cast<int>(std::ceil(4 * sigma));
  profile blurred(line.size());
  for (int x = 0; x < static_cast<int>(line.size()); ++x) {
    double sum = 0, weights = 0;
    for (int d = -reach; d <= reach; ++d) {
      const int at = std::clamp(x + d, 0, static_cast<int>(line.size()) - 1);
      const double weight = std::exp(-d * d / (2 * sigma * sigma));
      sum += weight * line[static_cast<std::size_t>(at)];
      weights += weight;
    }
    blurred[static_cast<std::size_t>(x)] = static_cast<float>(sum / weights);
  }
  return blurred;
}

double largest_error(const std::vector<double>& found,
                     const std::vector<double>& expected) {
  double largest = 0;
  for (std::size_t i = 0; i < expected.size(); ++i)
    largest = std::max(largest, std::fabs(found[i] - expected[i]));
  return largest;
}

struct accuracy_case {
  double module;
  double offset;
  double tolerance;
};

TEST(EdgeFinder, PlacesEdgesBetweenPixelsAtSubPixelPrecision) {
  // Exact on the pixel grid; within a tenth of a pixel off it while every
  // element spans two pixels; looser when pixels hold parts of two elements.
  const accuracy_case cases[] = {
      {1.0, 0.0, 1e-6}, {2.0, 0.0, 1e-6}, {3.0, 0.0, 1e-6}, {2.0, 0.5, 0.01},
      {2.5, 0.3, 0.1},  {3.7, 0.71, 0.1}, {1.3, 0.2, 0.12}, {1.0, 0.25, 0.3},
  };
  for (const accuracy_case& c : cases) {
    const std::vector<double> edges = pattern_edges(20 + c.offset, c.module, 4);
    const int length = static_cast<int>(edges.back()) + 20;
    for (float noise_share : {0.25f, 0.04f}) {
      const std::vector<double> found =
          find_edges(render(edges, length, 0.05f, 0.95f), noise_share);
      ASSERT_EQ(found.size(), edges.size())
          << "module " << c.module << " offset " << c.offset;
      EXPECT_LE(largest_error(found, edges), c.tolerance)
          << "module " << c.module << " offset " << c.offset;
    }
  }
}

TEST(EdgeFinder, BarsTouchingTheEndsGetEdgesAtTheEnds) {
  // A symbol drawn without quiet zones, filling the line.
  for (double module : {1.0, 2.0, 5.0}) {
    const std::vector<double> edges = pattern_edges(0, module, 3);
    const profile line =
        render(edges, static_cast<int>(edges.back()), 0.0f, 1.0f);
    EXPECT_EQ(find_edges(line, 0.25f), edges) << module;
  }
}

TEST(EdgeFinder, LinesWithoutContrastHaveNoEdges) {
  const profile lines[] = {
      {},
      profile(50, 0.5f),
      profile(50, 0.0f),
      render(pattern_edges(5, 2, 2), 50, 0.5f, 0.53f),
  };
  for (const profile& line : lines)
    EXPECT_TRUE(find_edges(line, 0.04f).empty());
}

TEST(EdgeFinder, BlurKeepsEdgesOfWideElementsInPlace) {
  const std::vector<double> edges = {20, 28, 36, 44.5, 52, 60.25};
  for (double sigma : {0.7, 1.0, 1.5}) {
    const std::vector<double> found =
        find_edges(gaussian_blur(render(edges, 80, 0.1f, 0.9f), sigma), 0.25f);
    ASSERT_EQ(found.size(), edges.size()) << sigma;
    EXPECT_LE(largest_error(found, edges), 0.1) << sigma;
  }
}

TEST(EdgeFinder, ALowNoiseShareKeepsNarrowElementsThatBlurFlattened) {
  // One-pixel modules blurred until the narrow elements keep a fraction of
  // the contrast of the wide ones.
  const std::vector<double> edges = pattern_edges(12, 1, 3);
  const profile line = gaussian_blur(render(edges, 60, 0.0f, 1.0f), 0.7);
  EXPECT_LT(find_edges(line, 0.25f).size(), edges.size());
  EXPECT_EQ(find_edges(line, 0.04f).size(), edges.size());
}

}  // namespace
