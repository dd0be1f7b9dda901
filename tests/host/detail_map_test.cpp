// The map of where a page holds detail, on pages with one mark.
#include "find/detail_map.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int tile = detail_map::tile;

// A page of 200 grey with a square of `grey` pixels at (x, y), `size` wide.
grey_image page_with_mark(int x, int y, int size, int grey) {
  grey_image page{5 * tile + 8, 4 * tile + 5, {}};  // partial tiles at the ends
  page.pixels.assign(static_cast<std::size_t>(page.width) * page.height, 200);
  for (int row = y; row < y + size; ++row)
    for (int column = x; column < x + size; ++column)
      page.pixels[static_cast<std::size_t>(row) * page.width + column] =
          static_cast<std::uint8_t>(grey);
  return page;
}

// Which tiles are near detail, row by row, as '#' and '.'.
std::string near_tiles(const detail_map& map, const grey_image& page) {
  std::string tiles;
  for (int y = tile / 2; y < page.height + tile / 2; y += tile) {
    for (int x = tile / 2; x < page.width + tile / 2; x += tile)
      tiles += map.near_detail({double(x), double(y)}) ? '#' : '.';
    tiles += '\n';
  }
  return tiles;
}

TEST(DetailMap, MarksTilesWithDetailAndTheirNeighbours) {
  struct {
    int x, y, size, grey;
    const char* tiles;
  } cases[] = {
      // A mark of 13 levels is detail, one of 12 is not.
      {2 * tile + 3, tile + 4, 4, 187,
       ".###..\n.###..\n.###..\n......\n......\n"},
      {2 * tile + 3, tile + 4, 4, 188,
       "......\n......\n......\n......\n......\n"},
      // In the partial tiles at the right and bottom ends.
      {5 * tile + 2, 4 * tile, 4, 0,
       "......\n......\n......\n....##\n....##\n"},
      // A one-pixel dot between the rows measured is not seen.
      {tile + 5, tile + 1, 1, 0, "......\n......\n......\n......\n......\n"},
  };
  for (const auto& c : cases) {
    const grey_image page = page_with_mark(c.x, c.y, c.size, c.grey);
    const detail_map map(page, 13);
    EXPECT_EQ(near_tiles(map, page), c.tiles) << c.x << "," << c.y;
  }
}

TEST(DetailMap, PointsOutsideThePageTakeTheNearestTile) {
  const grey_image page = page_with_mark(0, 0, 4, 0);
  const detail_map map(page, 13);
  EXPECT_TRUE(map.near_detail({-50, -3}));
  EXPECT_FALSE(map.near_detail({1e9, 1e9}));
}

}  // namespace
