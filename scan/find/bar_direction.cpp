#include "find/bar_direction.h"

#include <cmath>

namespace {

// The band reaches this many pixels either side of the segment.
constexpr int band_reach = 2;

}  // namespace

double bar_direction(const grey_view& image, point centre, point direction,
                     double half_length) {
  const point across = quarter_turn(direction);
  // The structure tensor's sums (gx^2, gy^2, gx*gy) over the band, from
  // Scharr's gradient: plain central differences lean towards the diagonals
  // on bars of a few pixels.
  double xx = 0, yy = 0, xy = 0;
  for (double s = -half_length; s <= half_length; s += 1)
    for (int t = -band_reach; t <= band_reach; ++t) {
      const point p = centre + s * direction + t * across;
      if (p.x < 1 || p.y < 1 || p.x >= image.width - 1 ||
          p.y >= image.height - 1)
        continue;
      const int x = static_cast<int>(p.x);
      const int y = static_cast<int>(p.y);
      const std::uint8_t* up = image.row(y - 1) + x;
      const std::uint8_t* level = image.row(y) + x;
      const std::uint8_t* down = image.row(y + 1) + x;
      const double gx = 3 * (up[1] - up[-1]) + 10 * (level[1] - level[-1]) +
                        3 * (down[1] - down[-1]);
      const double gy = 3 * (down[-1] - up[-1]) + 10 * (down[0] - up[0]) +
                        3 * (down[1] - up[1]);
      xx += gx * gx;
      yy += gy * gy;
      xy += gx * gy;
    }
  // Twice the angle of the tensor's main axis.
  const double degrees = std::atan2(2 * xy, xx - yy) * 90 / 3.14159265358979;
  return degrees < 0 ? degrees + 180 : degrees;
}
