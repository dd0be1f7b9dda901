// Where a page holds any detail: tiles whose grey levels span a given range,
// each with its eight neighbours. The first look reads lines only near them:
// blank paper holds no symbol.
#ifndef TARN_HOST_DETAIL_MAP_H
#define TARN_HOST_DETAIL_MAP_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "find/point.h"
#include "image/image.h"

class detail_map {
 public:
  static constexpr int tile = 16;  // pixels square

  // `levels`: the least span of grey levels in a tile that is detail.
  detail_map(const grey_view& image, int levels);

  // Whether the point lies in a tile with detail or beside one; points
  // outside the image count as in the nearest tile.
  bool near_detail(point p) const {
    const auto index = [](double at, int count) {
      return static_cast<int>(std::clamp(at / tile, 0.0, count - 1.0));
    };
    return near_[static_cast<std::size_t>(index(p.y, rows_)) * columns_ +
                 index(p.x, columns_)] != 0;
  }

 private:
  int columns_ = 0;
  int rows_ = 0;
  std::vector<std::uint8_t> near_;
};

#endif
