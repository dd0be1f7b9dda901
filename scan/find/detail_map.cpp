#include "find/detail_map.h"

#include <algorithm>
#include <cstddef>

namespace {

// Every fourth row is measured: bars cross every row of a tile, and a
// symbol's bars along the rows lie closer than four rows.
constexpr int row_step = 4;

// Widens [low, high] to the levels of `count` pixels. Called with a whole
// tile's constant count, its loop becomes vector instructions.
inline void widen(const std::uint8_t* pixels, int count, std::uint8_t& low,
                  std::uint8_t& high) {
  std::uint8_t lo = low, hi = high;  // not aliased by `pixels`
  for (int x = 0; x < count; ++x) {
    lo = std::min(lo, pixels[x]);
    hi = std::max(hi, pixels[x]);
  }
  low = lo;
  high = hi;
}

}  // namespace

detail_map::detail_map(const grey_view& image, int levels)
    : columns_((image.width + tile - 1) / tile),
      rows_((image.height + tile - 1) / tile),
      near_(static_cast<std::size_t>(columns_) * rows_, 0) {
  std::vector<std::uint8_t> low(near_.size(), 255), high(near_.size(), 0);
  const int whole = image.width / tile;  // tiles as wide as a tile
  for (int y = 0; y < image.height; y += row_step) {
    const std::uint8_t* row = image.row(y);
    const std::size_t first = static_cast<std::size_t>(y / tile) * columns_;
    for (int c = 0; c < whole; ++c)
      widen(row + c * tile, tile, low[first + c], high[first + c]);
    if (whole < columns_)
      widen(row + whole * tile, image.width - whole * tile, low[first + whole],
            high[first + whole]);
  }
  for (int r = 0; r < rows_; ++r)
    for (int c = 0; c < columns_; ++c) {
      const std::size_t i = static_cast<std::size_t>(r) * columns_ + c;
      if (high[i] - low[i] < levels) continue;
      for (int rr = std::max(0, r - 1); rr <= std::min(rows_ - 1, r + 1); ++rr)
        for (int cc = std::max(0, c - 1); cc <= std::min(columns_ - 1, c + 1);
             ++cc)
          near_[static_cast<std::size_t>(rr) * columns_ + cc] = 1;
    }
}
