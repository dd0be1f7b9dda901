#include "grade/profile_sampler.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "image/reflectance.h"

profile_sampler::profile_sampler(const grey_view& image, bool linear,
                                 double aperture)
    : image_(image) {
  for (int value = 0; value < 256; ++value)
    reflectance_of_[value] =
        reflectance(static_cast<std::uint8_t>(value), linear);
  // A square grid clipped to the disc, fine enough for a disc of a pixel or
  // two, never coarser than half a pixel until the disc is 16 pixels wide;
  // wider discs keep 16 points across, so that a sample costs a bounded
  // amount whatever the aperture.
  const double radius = std::max(aperture / 2, 0.05);
  const double spacing = std::max(std::min(0.5, radius / 4), radius / 16);
  const int reach = static_cast<int>(radius / spacing);
  for (int i = -reach; i <= reach; ++i)
    for (int j = -reach; j <= reach; ++j)
      if (std::hypot(i * spacing, j * spacing) <= radius)
        disc_.push_back({i * spacing, j * spacing});
}

bool profile_sampler::on_image(point centre) const {
  return centre.x >= 0 && centre.y >= 0 && centre.x <= image_.width &&
         centre.y <= image_.height;
}

float profile_sampler::bilinear(double x, double y) const {
  // Pixel centres stand at half-integer coordinates.
  const double fx = std::clamp(x - 0.5, 0.0, image_.width - 1.0);
  const double fy = std::clamp(y - 0.5, 0.0, image_.height - 1.0);
  const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  const int x1 = std::min(x0 + 1, image_.width - 1);
  const int y1 = std::min(y0 + 1, image_.height - 1);
  const float ax = static_cast<float>(fx - x0),
              ay = static_cast<float>(fy - y0);
  const auto r = [&](int px, int py) {
    return reflectance_of_[image_.row(py)[px]];
  };
  const float top = r(x0, y0) + ax * (r(x1, y0) - r(x0, y0));
  const float bottom = r(x0, y1) + ax * (r(x1, y1) - r(x0, y1));
  return top + ay * (bottom - top);
}

float profile_sampler::disc_mean(point centre) const {
  float sum = 0;
  for (const point& offset : disc_)
    sum += bilinear(centre.x + offset.x, centre.y + offset.y);
  return sum / static_cast<float>(disc_.size());
}

std::vector<float> profile_sampler::sample(point from, point to, double step,
                                           std::size_t& first) const {
  const double length = std::hypot(to.x - from.x, to.y - from.y);
  const auto count = static_cast<std::size_t>(length / step) + 1;
  std::vector<float> samples;
  first = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const double t = length > 0 ? k * step / length : 0.0;
    const point centre{from.x + t * (to.x - from.x),
                       from.y + t * (to.y - from.y)};
    if (!on_image(centre)) continue;
    if (samples.empty()) first = k;
    samples.push_back(disc_mean(centre));
  }
  return samples;
}

double profile_sampler::light_run(point from, point away, double step,
                                  float threshold) const {
  double border = std::numeric_limits<double>::infinity();
  if (away.x != 0) border = ((away.x < 0 ? 0 : image_.width) - from.x) / away.x;
  if (away.y != 0)
    border =
        std::min(border, ((away.y < 0 ? 0 : image_.height) - from.y) / away.y);
  float before = threshold;  // at `from`, an edge
  for (double distance = step; distance <= border; distance += step) {
    const float r =
        disc_mean({from.x + distance * away.x, from.y + distance * away.y});
    if (r < threshold)
      return distance - step + step * (before - threshold) / (before - r);
    before = r;
  }
  return std::max(border, 0.0);
}
