// The edge finder on synthetic profiles whose edges are known exactly, and
// the scan lines it reads.
#include "find/edge_finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "find/bar_direction.h"
#include "support/code39_model.h"

namespace {

// Edges of `characters` Code 39 start characters from `start`, `module`
// pixels per module.
std::vector<double> pattern_edges(double start, double module, int characters) {
  code39::print print;
  print.narrow = print.gap = module;
  print.origin = start;
  return code39::symbol_edges(std::string(characters - 2, '*'), print);
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
  const std::tuple<double, double, double> cases[] = {
      // module, offset, tolerance
      {1.0, 0.0, 1e-6}, {2.0, 0.0, 1e-6}, {3.0, 0.0, 1e-6}, {2.0, 0.5, 0.01},
      {2.5, 0.3, 0.1},  {3.7, 0.71, 0.1}, {1.3, 0.2, 0.12}, {1.0, 0.25, 0.3},
  };
  for (const auto& [module, offset, tolerance] : cases) {
    const std::vector<double> edges = pattern_edges(20 + offset, module, 4);
    const int length = static_cast<int>(edges.back()) + 20;
    for (float noise_share : {0.25f, 0.04f}) {
      const std::vector<double> found =
          find_edges(render(edges, length, 0.05f, 0.95f), noise_share);
      ASSERT_EQ(found.size(), edges.size())
          << "module " << module << " offset " << offset;
      for (std::size_t i = 0; i < edges.size(); ++i)
        EXPECT_NEAR(found[i], edges[i], tolerance)
            << "module " << module << " offset " << offset;
    }
  }
}

// Blur flattens the narrow elements, which sharpening looks for; sharp
// lines have none flattened.
TEST(EdgeFinder, TellsHowManyElementsBlurHasFlattened) {
  const std::vector<double> edges = pattern_edges(20, 3, 5);
  const profile sharp =
      render(edges, static_cast<int>(edges.back()) + 20, 0.05f, 0.95f);
  for (const auto& [sigma, flattened] :
       {std::pair{0.0, false}, {1.0, false}, {3.0, true}}) {
    profile blurred = sharp;
    if (sigma > 0) gaussian_blur(sharp, gaussian_kernel(sigma), blurred);
    edge_finder finder;
    finder.find(blurred, 0.04f);
    EXPECT_EQ(finder.damped_share() >= 0.25f, flattened) << sigma;
  }
}

TEST(EdgeFinder, LinesWithoutContrastHaveNoEdges) {
  for (const profile& line : {profile(), profile(50, 0.5f), profile(50, 0.0f),
                              render(pattern_edges(5, 2, 2), 50, 0.5f, 0.53f)})
    EXPECT_TRUE(find_edges(line, 0.04f).empty());
}

// Line reads against their plain twins: the straight pixel reads of
// whole-pixel lines, and every line's unclamped bilinear reads (clamped near
// the borders) against one bilinear sample at a time.
TEST(ScanLines, ReadsMatchTheirPlainTwins) {
  grey_image image{40, 30, {}};
  unsigned state = 3;
  for (int i = 0; i < 40 * 30; ++i)
    image.pixels.push_back(static_cast<std::uint8_t>((state *= 69069u) >> 24));
  for (point step : {point{1, 0}, point{0, 1}, point{1, 1}, point{1, -1},
                     point{0.96, 0.28}, point{-0.6, 0.8}}) {
    std::vector<scan_line> lines = lines_across(image, step, 1.5);
    // Along the bottom and the right border, the band partly outside.
    lines.push_back({{3.5, 28.6}, {0.99, 0.02}, 30});
    lines.push_back({{38.6, 3.5}, {0.02, 0.99}, 22});
    for (const scan_line& line : lines) {
      profile fast, bilinear;
      sample_line(image, line, fast);
      sample_line_bilinear(image, line, bilinear);
      ASSERT_EQ(fast.size(), bilinear.size());
      const point across = quarter_turn(line.direction);
      for (std::size_t i = 0; i < fast.size(); ++i) {
        const point at = line.origin + double(i) * line.direction;
        const float plain =
            (sample_at(image, at - across) + sample_at(image, at) +
             sample_at(image, at + across)) /
            3;
        ASSERT_NEAR(fast[i], bilinear[i], 1e-5) << step.x << step.y << i;
        ASSERT_NEAR(bilinear[i], plain, 1e-5) << step.x << step.y << i;
      }
    }
  }
}

// Stripes across a direction, nine pixels a period: the direction found
// within a few tenths of a degree, wherever the band lies, the borders too.
TEST(BarDirection, FindsTheDirectionAcrossStripes) {
  for (double degrees : {0.0, 14.0, 37.5, 90.0, 121.0, 168.0}) {
    const point across = unit_vector(degrees);
    grey_image image{60, 50, {}};
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        image.pixels.push_back(static_cast<std::uint8_t>(std::lround(
            128 + 100 * std::sin(2 * M_PI *
                                 dot({double(x), double(y)}, across) / 9))));
    for (point centre : {point{30, 25}, point{30, 47.5}}) {
      const double found = bar_direction(image, centre, {1, 0}, 40);
      EXPECT_NEAR(std::remainder(found - degrees, 180), 0, 0.4)
          << degrees << " at " << centre.y;
    }
  }
}

}  // namespace
