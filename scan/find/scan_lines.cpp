#include "find/scan_lines.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

namespace {

constexpr double pi = 3.14159265358979323846;
// Lines shorter than this hold no symbol.
constexpr int min_line_length = 20;

// The image value at a pixel-coordinate point, bilinear between pixel
// centres, clamped at the borders.
float bilinear(const grey_view& image, double x, double y) {
  const double fx = std::clamp(x - 0.5, 0.0, image.width - 1.0);
  const double fy = std::clamp(y - 0.5, 0.0, image.height - 1.0);
  const int x0 = static_cast<int>(fx);
  const int y0 = static_cast<int>(fy);
  const int x1 = std::min(x0 + 1, image.width - 1);
  const int y1 = std::min(y0 + 1, image.height - 1);
  const float wx = static_cast<float>(fx - x0);
  const float wy = static_cast<float>(fy - y0);
  const std::uint8_t* top = image.row(y0);
  const std::uint8_t* bottom = image.row(y1);
  const float upper = top[x0] + wx * (top[x1] - top[x0]);
  const float lower = bottom[x0] + wx * (bottom[x1] - bottom[x0]);
  return (upper + wy * (lower - upper)) * (1.0f / 255.0f);
}

// The first look's steps from pixel centre to pixel centre, either way:
// each component -1, 0 or 1.
bool whole_pixel_step(point direction) {
  const auto whole = [](double v) { return (v == 0) | (std::fabs(v) == 1); };
  return whole(direction.x) & whole(direction.y);
}

}  // namespace

void clip_axis(double from, double step, double lowest, double highest,
               double& low, double& high) {
  if (std::fabs(step) < 1e-12) {
    if (from < lowest || from > highest) high = low - 1;
    return;
  }
  double a = (lowest - from) / step;
  double b = (highest - from) / step;
  if (a > b) std::swap(a, b);
  low = std::max(low, a);
  high = std::min(high, b);
}

point unit_vector(double degrees) {
  const double radians = degrees * pi / 180.0;
  return {std::cos(radians), std::sin(radians)};
}

scan_line clip_to_image(const grey_view& image, point through,
                        point direction) {
  double low = -1e18;
  double high = 1e18;
  clip_axis(through.x, direction.x, 0.5, image.width - 0.5, low, high);
  clip_axis(through.y, direction.y, 0.5, image.height - 0.5, low, high);
  scan_line line{through + low * direction, direction, 0};
  // A line that misses the pixel centres is not moved onto the border rows:
  // it would read them again.
  if (high < low) return line;
  if (whole_pixel_step(direction)) {
    // On pixel centres, with the band across the line inside the image too.
    const point band = quarter_turn(direction);
    const double margin_x = 0.5 + std::fabs(band.x);
    const double margin_y = 0.5 + std::fabs(band.y);
    line.origin = {std::floor(line.origin.x) + 0.5,
                   std::floor(line.origin.y) + 0.5};
    line.origin.x = std::clamp(line.origin.x, margin_x, image.width - margin_x);
    line.origin.y =
        std::clamp(line.origin.y, margin_y, image.height - margin_y);
    low = 0;
    high = 1e18;
    clip_axis(line.origin.x, direction.x, margin_x, image.width - margin_x, low,
              high);
    clip_axis(line.origin.y, direction.y, margin_y, image.height - margin_y,
              low, high);
  }
  if (high - low + 1 >= min_line_length)
    line.length = static_cast<int>(high - low) + 1;
  return line;
}

float sample_at(const grey_view& image, point p) {
  return bilinear(image, p.x, p.y);
}

scan_line clip_around(const grey_view& image, point centre, point direction,
                      double half_length) {
  scan_line line = clip_to_image(image, centre, direction);
  const double middle = dot(centre - line.origin, direction);
  const double first = std::max(0.0, std::ceil(middle - half_length));
  const double last = std::min(double(line.length), middle + half_length);
  if (last - first < min_line_length) {
    line.length = 0;
    return line;
  }
  line.origin = line.origin + first * direction;
  line.length = static_cast<int>(last - first);
  return line;
}

scan_line part_of(const scan_line& line, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, line.length - 1);
  if (last + 1 - first < min_line_length) return {line.origin, line.direction};
  return {line.origin + double(first) * line.direction, line.direction,
          last + 1 - first};
}

std::vector<scan_line> lines_across(const grey_view& image, point direction,
                                    double spacing) {
  // No chord of the image in this direction is long enough (a crop's
  // columns and diagonals).
  double longest = 1e18;
  if (direction.x != 0) longest = image.width / std::fabs(direction.x);
  if (direction.y != 0)
    longest = std::min(longest, image.height / std::fabs(direction.y));
  if (longest + 1 < min_line_length) return {};
  const point across =
      (1.0 / std::sqrt(dot(direction, direction))) * quarter_turn(direction);
  const point corners[] = {{0, 0},
                           {double(image.width), 0},
                           {0, double(image.height)},
                           {double(image.width), double(image.height)}};
  double lowest = 1e18;
  double highest = -1e18;
  for (const point& corner : corners) {
    lowest = std::min(lowest, dot(corner, across));
    highest = std::max(highest, dot(corner, across));
  }
  std::vector<scan_line> lines;
  const double span = highest - lowest;
  const int count = std::max(1, static_cast<int>(span / spacing));
  const double first = lowest + (span - (count - 1) * spacing) / 2;
  for (int i = 0; i < count; ++i) {
    const scan_line line =
        clip_to_image(image, (first + i * spacing) * across, direction);
    if (line.length > 0) lines.push_back(line);
  }
  return lines;
}

void sample_line(const grey_view& image, const scan_line& line,
                 profile& values) {
  // Whole pixels: steps from pixel centre to pixel centre, and the band's
  // outer samples inside the image all along the line (checking both ends
  // suffices, the image being convex). Tested as one condition: a chain of
  // branches would have the compiler take this, the usual road, for a rare
  // one and leave its loops unoptimised.
  const point across = quarter_turn(line.direction);
  const point last = line.origin + double(line.length - 1) * line.direction;
  const auto inside = [&](point p) {
    return (p.x > 0) & (p.y > 0) & (p.x < image.width) & (p.y < image.height);
  };
  const bool whole_pixels =
      whole_pixel_step(line.direction) & (line.length > 0) &
      (line.origin.x - 0.5 == std::floor(line.origin.x)) &
      (line.origin.y - 0.5 == std::floor(line.origin.y)) &
      inside(line.origin + across) & inside(line.origin - across) &
      inside(last + across) & inside(last - across);
  if (!whole_pixels) return sample_line_bilinear(image, line, values);
  values.resize(static_cast<std::size_t>(line.length));
  const std::ptrdiff_t stride = image.stride;
  const std::ptrdiff_t step =
      static_cast<std::ptrdiff_t>(line.direction.x) +
      static_cast<std::ptrdiff_t>(line.direction.y) * stride;
  const std::ptrdiff_t band = static_cast<std::ptrdiff_t>(across.x) +
                              static_cast<std::ptrdiff_t>(across.y) * stride;
  const std::uint8_t* pixel = image.row(static_cast<int>(line.origin.y)) +
                              static_cast<int>(line.origin.x);
  if (step == 1) {  // a row: three rows of pixels side by side
    const std::uint8_t* above = pixel - band;
    const std::uint8_t* below = pixel + band;
    float* out = values.data();
    for (int i = 0; i < line.length; ++i)
      out[i] =
          static_cast<float>(above[i] + pixel[i] + below[i]) * (1.0f / 765.0f);
    return;
  }
  for (float& value : values) {
    value = static_cast<float>(pixel[-band] + pixel[0] + pixel[band]) *
            (1.0f / 765.0f);
    pixel += step;
  }
}

void sample_line_bilinear(const grey_view& image, const scan_line& line,
                          profile& values) {
  values.resize(static_cast<std::size_t>(line.length));
  if (line.length == 0) return;
  // Positions in fixed point with 32 fraction bits from the pixel-centre
  // grid, so that steps add up exactly; weights keep 16 of them, rounded.
  using fixed = std::int64_t;
  constexpr double one = 4294967296.0;
  constexpr fixed half_weight = fixed{1} << 15;
  const auto to_fixed = [](double v) {
    return static_cast<fixed>(std::llround(v * one));
  };
  const fixed x0 = to_fixed(line.origin.x - 0.5) + half_weight;
  const fixed y0 = to_fixed(line.origin.y - 0.5) + half_weight;
  const fixed dx = to_fixed(line.direction.x);
  const fixed dy = to_fixed(line.direction.y);
  const fixed max_x = fixed{image.width - 1} << 32;
  const fixed max_y = fixed{image.height - 1} << 32;
  const std::uint8_t* pixels = image.data;
  const std::ptrdiff_t stride = image.stride;
  // Clamped at the borders; a band that keeps a pixel from every border
  // needs no clamping, and every point has its right and lower neighbours.
  const auto read = [&](auto clamped) {
    // The image at (x, y), times 2^32.
    const auto at = [&](fixed x, fixed y) {
      std::ptrdiff_t right = 1, down = stride;
      if (clamped) {
        x = std::clamp<fixed>(x, 0, max_x);
        y = std::clamp<fixed>(y, 0, max_y);
        right = x < max_x ? 1 : 0;
        down = y < max_y ? stride : 0;
      }
      const int wx = static_cast<int>((x >> 16) & 0xffff);
      const int wy = static_cast<int>((y >> 16) & 0xffff);
      const std::uint8_t* p = pixels + (y >> 32) * stride + (x >> 32);
      const int upper = (p[0] << 16) + wx * (p[right] - p[0]);
      const int lower = (p[down] << 16) + wx * (p[down + right] - p[down]);
      return (fixed{upper} << 16) + fixed{wy} * (lower - upper);
    };
    fixed x = x0, y = y0;
    for (float& value : values) {
      // The band across the line: one step turned a quarter, (-dy, dx).
      const fixed sum = at(x + dy, y - dx) + at(x, y) + at(x - dy, y + dx);
      value = static_cast<float>(sum) * static_cast<float>(1 / (765 * one));
      x += dx;
      y += dy;
    }
  };
  const double last_x =
      line.origin.x - 0.5 + (line.length - 1) * line.direction.x;
  const double last_y =
      line.origin.y - 0.5 + (line.length - 1) * line.direction.y;
  const double first_x = line.origin.x - 0.5, first_y = line.origin.y - 0.5;
  const double reach_x = std::fabs(line.direction.y) + 1.0;
  const double reach_y = std::fabs(line.direction.x) + 1.0;
  const bool inside =
      std::min(first_x, last_x) >= reach_x &&
      std::max(first_x, last_x) <= image.width - 1.0 - reach_x &&
      std::min(first_y, last_y) >= reach_y &&
      std::max(first_y, last_y) <= image.height - 1.0 - reach_y;
  if (inside)
    read(std::false_type());
  else
    read(std::true_type());
}

void sample_wide_line(const grey_view& image, const scan_line& line,
                      profile& values, profile& scratch) {
  constexpr int bands = 5;
  constexpr double apart = 3.0;
  const point across = (1.0 / std::sqrt(dot(line.direction, line.direction))) *
                       quarter_turn(line.direction);
  values.assign(static_cast<std::size_t>(line.length), 0.0f);
  for (int band = -bands / 2; band <= bands / 2; ++band) {
    scan_line shifted = line;
    shifted.origin = line.origin + (band * apart) * across;
    sample_line(image, shifted, scratch);
    for (std::size_t i = 0; i < values.size(); ++i)
      values[i] += scratch[i] * (1.0f / bands);
  }
}

gaussian_kernel::gaussian_kernel(double sigma)
    : reach(std::min(max_reach, static_cast<int>(std::ceil(3 * sigma)))) {
  for (int d = -reach; d <= reach; ++d)
    total += weights[d + reach] =
        static_cast<float>(std::exp(-d * d / (2 * sigma * sigma)));
}

void gaussian_blur(const profile& values, const gaussian_kernel& kernel,
                   profile& blurred) {
  const int reach = kernel.reach;
  const float* weights = kernel.weights;
  const float total = kernel.total;
  const int size = static_cast<int>(values.size());
  blurred.resize(values.size());
  const float* value = values.data();
  // Beyond the ends the end values go on; between, no index is clamped.
  const auto blur_at = [&](int i, bool near_end) {
    float sum = 0.0f;
    for (int d = -reach; d <= reach; ++d)
      sum += weights[d + reach] *
             value[near_end ? std::clamp(i + d, 0, size - 1) : i + d];
    blurred[static_cast<std::size_t>(i)] = sum / total;
  };
  const int inner_first = std::min(reach, size);
  const int inner_last = std::max(inner_first, size - reach);
  for (int i = 0; i < inner_first; ++i) blur_at(i, true);
  for (int i = inner_first; i < inner_last; ++i) blur_at(i, false);
  for (int i = inner_last; i < size; ++i) blur_at(i, true);
}

void sharpen(const profile& values, const profile& blurred, float amount,
             profile& sharp) {
  sharp.resize(values.size());
  for (std::size_t i = 0; i < values.size(); ++i)
    sharp[i] = values[i] + amount * (values[i] - blurred[i]);
}
