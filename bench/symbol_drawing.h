// Draws Code 39 symbols into grey images for the scan benchmark: at any
// place, angle, scale, in perspective, with the ink spread or thinned; and
// what pages do to them: blur, noise, uneven light, text-like marks, boxes.
#ifndef TARN_BENCH_SYMBOL_DRAWING_H
#define TARN_BENCH_SYMBOL_DRAWING_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
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
  double ink = 0;        // modules added to each bar (below 0, taken off)
};

// A rectangle on the page, in pixels.
struct box {
  double left, top, right, bottom;
};

// The symbol's edges in pixels along its axis, from the start's first bar:
// the module grows evenly from `module` to `module * far_scale`, and each
// bar edge moves outwards by half the ink.
inline std::vector<double> pixel_edges(const symbol_shape& shape) {
  code39::print print;
  print.ratio = shape.ratio;
  std::vector<double> edges = code39::symbol_edges(shape.code, print);
  const double growth = (shape.far_scale - 1) / edges.back();
  const double spread = shape.ink * shape.module / 2;
  for (std::size_t i = 0; i < edges.size(); ++i)
    edges[i] = shape.module * (edges[i] + growth * edges[i] * edges[i] / 2) +
               (i % 2 ? spread : -spread);
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

// The smallest upright rectangle around the symbol's bars.
inline box bounds(const symbol_shape& shape) {
  box around{1e9, 1e9, -1e9, -1e9};
  for (const auto& [x, y] : corners(shape))
    around = {std::min(around.left, x), std::min(around.top, y),
              std::max(around.right, x), std::max(around.bottom, y)};
  return around;
}

// Moves the symbol so that the middle of its bars lies at (x, y).
inline void centre_at(symbol_shape& shape, double x, double y) {
  const std::vector<double> edges = pixel_edges(shape);
  const double half = (edges.front() + edges.back()) / 2;
  const double r = shape.angle * M_PI / 180;
  shape.x = x - std::cos(r) * half;
  shape.y = y + std::sin(r) * half;
}

inline grey_image blank_page(int width, int height, std::uint8_t light = 235) {
  return {width, height, pixel_vector(std::size_t(width) * height, light)};
}

// Paints the pixels whose centres lie in the rectangle, within the page.
inline void fill(grey_image& page, const box& area, std::uint8_t grey) {
  const int x0 = std::max(0, int(std::ceil(area.left - 0.5)));
  const int x1 = std::min(page.width, int(std::floor(area.right + 0.5)));
  const int y0 = std::max(0, int(std::ceil(area.top - 0.5)));
  const int y1 = std::min(page.height, int(std::floor(area.bottom + 0.5)));
  for (int y = y0; y < y1 && x0 < x1; ++y)
    std::fill_n(page.pixels.begin() + std::size_t(y) * page.width + x0, x1 - x0,
                grey);
}

// A rectangle's outline, `line` pixels wide, drawn inside it.
inline void outline(grey_image& page, const box& area, double line,
                    std::uint8_t grey = 30) {
  const auto [left, top, right, bottom] = area;
  fill(page, {left, top, right, top + line}, grey);
  fill(page, {left, bottom - line, right, bottom}, grey);
  fill(page, {left, top, left + line, bottom}, grey);
  fill(page, {right - line, top, right, bottom}, grey);
}

// Rows of short marks 1 to 3 pixels wide and `size` tall, like lines of
// text, a row every `2 * size` pixels, within the rectangle.
inline void text_marks(grey_image& page, const box& area, int size,
                       unsigned seed) {
  unsigned state = seed;
  for (double top = area.top; top + size <= area.bottom; top += 2 * size)
    for (double x = area.left;;) {
      state = state * 1103515245u + 12345u;
      const int mark = 1 + static_cast<int>((state >> 8) % 3);
      if (x + mark > area.right) break;
      fill(page, {x, top, x + mark, top + size}, 40);
      x += mark + 1 + static_cast<int>((state >> 12) % 4);
    }
}

// Darkens the symbol's bars into the page, 4 x 4 samples per pixel.
inline void draw(grey_image& page, const symbol_shape& shape,
                 std::uint8_t dark = 25) {
  const std::vector<double> bar_pixels = pixel_edges(shape);
  const double start = bar_pixels.front(), length = bar_pixels.back();
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
          if (s < start || s >= length ||
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

// Light falling evenly across the page in the direction `angle` (degrees),
// from full to `darkest` (a share of it).
inline void shade(grey_image& page, double darkest, double angle) {
  const double r = angle * M_PI / 180, ux = std::cos(r), uy = std::sin(r);
  const double first =
      std::min(0.0, page.width * ux) + std::min(0.0, page.height * uy);
  const double span = std::fabs(page.width * ux) + std::fabs(page.height * uy);
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x) {
      const double share = (x * ux + y * uy - first) / span;
      auto& pixel = page.pixels[std::size_t(y) * page.width + x];
      pixel = std::uint8_t(std::lround(pixel * (1 - (1 - darkest) * share)));
    }
}

// Gaussian blur of the whole page, `sigma` pixels; none at 0.
inline void blur(grey_image& page, double sigma) {
  if (sigma <= 0) return;
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

// Gaussian noise of `sigma` grey levels, the same for the same seed on
// every system (mt19937 through Box-Muller, not std::normal_distribution).
inline void add_noise(grey_image& page, double sigma, unsigned seed) {
  std::mt19937 engine(seed);
  for (std::uint8_t& pixel : page.pixels) {
    const double above_0 = (engine() + 1.0) / 4294967297.0;
    const double turn = 2 * M_PI * engine() / 4294967296.0;
    const double noise =
        sigma * std::sqrt(-2 * std::log(above_0)) * std::cos(turn);
    pixel = std::uint8_t(std::clamp(std::lround(pixel + noise), 0L, 255L));
  }
}

}  // namespace drawing

#endif
