// The edge finder on synthetic profiles whose edges are known exactly, and
// the scan lines it reads.
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

TEST(EdgeFinder, PlacesEdgesBetweenPixelsAtSubPixelPrecision) {
  // Exact on the pixel grid; within a tenth of a pixel off it while every
  // element spans two pixels; looser when pixels hold parts of two elements.
  const struct {
    double module, offset, tolerance;
  } cases[] = {
      {1.0, 0.0, 1e-6}, {2.0, 0.0, 1e-6}, {3.0, 0.0, 1e-6}, {2.0, 0.5, 0.01},
      {2.5, 0.3, 0.1},  {3.7, 0.71, 0.1}, {1.3, 0.2, 0.12}, {1.0, 0.25, 0.3},
  };
  for (const auto& c : cases) {
    const std::vector<double> edges = pattern_edges(20 + c.offset, c.module, 4);
    const int length = static_cast<int>(edges.back()) + 20;
    for (float noise_share : {0.25f, 0.04f}) {
      const std::vector<double> found =
          find_edges(render(edges, length, 0.05f, 0.95f), noise_share);
      ASSERT_EQ(found.size(), edges.size())
          << "module " << c.module << " offset " << c.offset;
      for (std::size_t i = 0; i < edges.size(); ++i)
        EXPECT_NEAR(found[i], edges[i], c.tolerance)
            << "module " << c.module << " offset " << c.offset;
    }
  }
}

TEST(EdgeFinder, LinesWithoutContrastHaveNoEdges) {
  for (const profile& line : {profile(), profile(50, 0.5f), profile(50, 0.0f),
                              render(pattern_edges(5, 2, 2), 50, 0.5f, 0.53f)})
    EXPECT_TRUE(find_edges(line, 0.04f).empty());
}

// The straight pixel reads of whole-pixel lines against their plain twin.
TEST(ScanLines, StraightReadsMatchBilinearOnes) {
  grey_image image{40, 30, {}};
  unsigned state = 3;
  for (int i = 0; i < 40 * 30; ++i)
    image.pixels.push_back(static_cast<std::uint8_t>((state *= 69069u) >> 24));
  for (point step : {point{1, 0}, point{0, 1}, point{1, 1}, point{1, -1}}) {
    for (const scan_line& line : lines_across(image, step, 2.5)) {
      profile straight, bilinear;
      sample_line(image, line, straight);
      sample_line_bilinear(image, line, bilinear);
      ASSERT_EQ(straight.size(), bilinear.size());
      for (std::size_t i = 0; i < straight.size(); ++i)
        ASSERT_NEAR(straight[i], bilinear[i], 1e-5) << step.x << step.y << i;
    }
  }
}

}  // namespace
