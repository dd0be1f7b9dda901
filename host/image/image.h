// A grey image held as reflectance, 0 black to 1 white, row after row.
#ifndef TARN_HOST_IMAGE_H
#define TARN_HOST_IMAGE_H

#include <cstddef>
#include <vector>

struct grey_image {
  int width = 0;
  int height = 0;
  std::vector<float> pixels;  // width * height values, top row first

  float at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) *
                      static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};

// Readers refuse images beyond this many pixels rather than run out of
// memory on a forged header.
constexpr long long max_image_pixels = 1LL << 26;

#endif
