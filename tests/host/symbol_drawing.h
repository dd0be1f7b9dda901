// Draws Code 39 symbols into grey images for the finder's tests and the scan
// benchmark: at any place, angle, scale, in perspective, blurred.
#ifndef TARN_TESTS_SYMBOL_DRAWING_H
#define TARN_TESTS_SYMBOL_DRAWING_H

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

// The symbol's length in modules and its bars, as [from, to) in modules.
struct bar_layout {
  double modules = 0;
  std::vector<double> edges;
};

inline bar_layout layout(const symbol_shape& shape) {
  code39::print print;
  print.ratio = shape.ratio;
  bar_layout bars;
  bars.edges = code39::symbol_edges(shape.code, print);
  bars.modules = bars.edges.back();
  return bars;
}

// Pixels along the axis at `modules` into the symbol: the module grows
// evenly from `module` to `module * far_scale`.
inline double pixels_at(const symbol_shape& shape, double total,
                        double modules) {
  const double growth = (shape.far_scale - 1) / total;
  return shape.module * (modules + growth * modules * modules / 2);
}

// Where the symbol's corners lie: start top, stop top, stop bottom, start
// bottom, as the finder reports them.
inline std::vector<std::pair<double, double>> corners(
    const symbol_shape& shape) {
  const bar_layout bars = layout(shape);
  const double r = shape.angle * 3.14159265358979 / 180;
  const double ax = std::cos(r), ay = -std::sin(r);  // along, on screen
  const double ux = ay, uy = -ax;                    // up, on screen
  const double length = pixels_at(shape, bars.modules, bars.modules);
  const double near = shape.height / 2, far = near * shape.far_scale;
  auto at = [&](double s, double h) {
    return std::pair<double, double>{shape.x + s * ax + h * ux,
                                     shape.y + s * ay + h * uy};
  };
  return {at(0, near), at(length, far), at(length, -far), at(0, -near)};
}

inline grey_image blank_page(int width, int height, std::uint8_t light = 235) {
  grey_image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<std::size_t>(width) * height, light);
  return image;
}

// Darkens the symbol's bars into the page, 4 x 4 samples per pixel.
inline void draw(grey_image& page, const symbol_shape& shape,
                 std::uint8_t dark = 25) {
  const bar_layout bars = layout(shape);
  std::vector<double> bar_pixels(bars.edges.size());
  for (std::size_t i = 0; i < bars.edges.size(); ++i)
    bar_pixels[i] = pixels_at(shape, bars.modules, bars.edges[i]);
  const double length = bar_pixels.back();
  const double r = shape.angle * 3.14159265358979 / 180;
  const double ax = std::cos(r), ay = -std::sin(r);
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
          const double s = dx * ax + dy * ay;
          const double h = std::fabs(dx * ay - dy * ax);
          if (s < 0 || s >= length) continue;
          const double half =
              shape.height / 2 * (1 + (shape.far_scale - 1) * s / length);
          if (h > half) continue;
          const auto next =
              std::upper_bound(bar_pixels.begin(), bar_pixels.end(), s);
          if ((next - bar_pixels.begin()) % 2 == 1) ++covered;
        }
      auto& pixel = page.pixels[static_cast<std::size_t>(y) * page.width + x];
      pixel = static_cast<std::uint8_t>(
          std::lround(pixel + (dark - pixel) * covered / 16.0));
    }
}

// Gaussian blur of the whole page, `sigma` pixels.
inline void blur(grey_image& page, double sigma) {
  const int reach = static_cast<int>(std::ceil(3 * sigma));
  std::vector<float> weights(2 * reach + 1);
  float total = 0;
  for (int d = -reach; d <= reach; ++d)
    total += weights[d + reach] = std::exp(-d * d / (2 * sigma * sigma));
  for (float& w : weights) w /= total;
  std::vector<float> values(page.pixels.begin(), page.pixels.end()),
      pass(values.size());
  const int w = page.width, h = page.height;
  for (int step : {1, w}) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        float sum = 0;
        for (int d = -reach; d <= reach; ++d) {
          const int xx = step == 1 ? std::clamp(x + d, 0, w - 1) : x;
          const int yy = step == 1 ? y : std::clamp(y + d, 0, h - 1);
          sum += weights[d + reach] * values[std::size_t(yy) * w + xx];
        }
        pass[std::size_t(y) * w + x] = sum;
      }
    values.swap(pass);
  }
  for (std::size_t i = 0; i < values.size(); ++i)
    page.pixels[i] = static_cast<std::uint8_t>(std::lround(values[i]));
}

}  // namespace drawing

#endif
