// Draws Code 39 symbols into grey images for the scan benchmark: at any
// place, angle, scale, in perspective, blurred.
#ifndef TARN_BENCH_SYMBOL_DRAWING_H
#define TARN_BENCH_SYMBOL_DRAWING_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"
#include "support/code39_model.h"

namespace drawing {

struct symbol_shape {
  std::string code;      // Code 39 characters between the `*`s
  double x = 0, y = 0;   // the start character's first bar, middle height
  double angle = 0;      // reading direction, degrees counter-clockwise
  double module = 3;     // pixels per module at the start
  double height = 60;    // bar height in pixels at the start
  double far_scale = 1;  // module and height at the stop end, relative
  double ratio = 2.5;    // wide to narrow
};

// The symbol's edges in pixels along its axis, from the start's first bar:
// the module grows evenly from `module` to `module * far_scale`.
inline std::vector<double> pixel_edges(const symbol_shape& shape) {
  code39::print print;
  print.ratio = shape.ratio;
  std::vector<double> edges = code39::symbol_edges(shape.code, print);
  const double growth = (shape.far_scale - 1) / edges.back();
  for (double& m : edges) m = shape.module * (m + growth * m * m / 2);
  return edges;
}

// Where the symbol's corners lie: start top, stop top, stop bottom, start
// bottom, as the finder reports them.
inline std::vector<std::pair<double, double>> corners(
    const symbol_shape& shape) {
  const double r = shape.angle * M_PI / 180, length = pixel_edges(shape).back();
  const double ax = std::cos(r), ay = -std::sin(r);  // along; up is (ay, -ax)
  const double near = shape.height / 2, far = near * shape.far_scale;
  auto at = [&](double s, double h) {
    return std::pair<double, double>{shape.x + s * ax + h * ay,
                                     shape.y + s * ay - h * ax};
  };
  return {at(0, near), at(length, far), at(length, -far), at(0, -near)};
}

inline grey_image blank_page(int width, int height, std::uint8_t light = 235) {
  return {width, height, pixel_vector(std::size_t(width) * height, light)};
}

// Darkens the symbol's bars into the page, 4 x 4 samples per pixel.
inline void draw(grey_image& page, const symbol_shape& shape,
                 std::uint8_t dark = 25) {
  const std::vector<double> bar_pixels = pixel_edges(shape);
  const double length = bar_pixels.back();
  const double r = shape.angle * M_PI / 180, ax = std::cos(r),
               ay = -std::sin(r);
  const double reach = length + shape.height * std::max(1.0, shape.far_scale);
  const int x0 = std::max(0, int(shape.x - reach)),
            x1 = std::min(page.width, int(shape.x + reach) + 1);
  const int y0 = std::max(0, int(shape.y - reach)),
            y1 = std::min(page.height, int(shape.y + reach) + 1);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      int covered = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          const double dx = x + (sx + 0.5) / 4 - shape.x;
          const double dy = y + (sy + 0.5) / 4 - shape.y;
          const double s = dx * ax + dy * ay, h = std::fabs(dx * ay - dy * ax);
          if (s < 0 || s >= length ||
              h > shape.height / 2 * (1 + (shape.far_scale - 1) * s / length))
            continue;
          covered +=
              (std::upper_bound(bar_pixels.begin(), bar_pixels.end(), s) -
               bar_pixels.begin()) %
              2;
        }
      auto& pixel = page.pixels[std::size_t(y) * page.width + x];
      pixel =
          std::uint8_t(std::lround(pixel + (dark - pixel) * covered / 16.0));
    }
}

// Gaussian blur of the whole page, `sigma` pixels.
inline void blur(grey_image& page, double sigma) {
  const int reach = int(std::ceil(3 * sigma)), w = page.width, h = page.height;
  std::vector<float> weights;
  float total = 0;
  for (int d = -reach; d <= reach; ++d)
    total += weights.emplace_back(std::exp(-d * d / (2 * sigma * sigma)));
  for (float& weight : weights) weight /= total;
  std::vector<float> values(page.pixels.begin(), page.pixels.end()),
      pass(values.size());
  for (const bool across : {true, false}) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        float sum = 0;
        for (int d = -reach; d <= reach; ++d)
          sum +=
              weights[d + reach] *
              (across
                   ? values[std::size_t(y) * w + std::clamp(x + d, 0, w - 1)]
                   : values[std::size_t(std::clamp(y + d, 0, h - 1)) * w + x]);
        pass[std::size_t(y) * w + x] = sum;
      }
    values.swap(pass);
  }
  for (std::size_t i = 0; i < values.size(); ++i)
    page.pixels[i] = std::uint8_t(std::lround(values[i]));
}

}  // namespace drawing

#endif
