#include "find/scan_lines.h"

#include <algorithm>

namespace {

constexpr int max_lines_per_direction = 128;
constexpr int band_width = 3;

// The first of `count` evenly spread bands across `extent` pixels.
int band_start(int index, int count, int extent) {
  const long long centre = (2LL * index + 1) * extent /
                           (2LL * count);  // middle of the index-th share
  return std::clamp(static_cast<int>(centre) - band_width / 2, 0,
                    std::max(0, extent - band_width));
}

template <typename Pixel>
std::vector<profile> band_profiles(int length, int extent, Pixel pixel) {
  const int count = std::min(extent, max_lines_per_direction);
  const int band = std::min(band_width, extent);
  std::vector<profile> profiles;
  profiles.reserve(static_cast<std::size_t>(count));
  for (int index = 0; index < count; ++index) {
    const int first = band_start(index, count, extent);
    profile line(static_cast<std::size_t>(length), 0.0f);
    for (int across = first; across < first + band; ++across)
      for (int along = 0; along < length; ++along)
        line[static_cast<std::size_t>(along)] += pixel(along, across);
    for (float& value : line) value /= static_cast<float>(band);
    profiles.push_back(std::move(line));
  }
  return profiles;
}

}  // namespace

std::vector<profile> scan_profiles(const grey_image& image) {
  std::vector<profile> profiles = band_profiles(
      image.width, image.height, [&](int x, int y) { return image.at(x, y); });
  std::vector<profile> columns = band_profiles(
      image.height, image.width, [&](int y, int x) { return image.at(x, y); });
  profiles.insert(profiles.end(), std::make_move_iterator(columns.begin()),
                  std::make_move_iterator(columns.end()));
  return profiles;
}
