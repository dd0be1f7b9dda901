// A grey image as 8-bit sRGB-coded values, 0 black to 255 white, row after
// row. Readers convert every format to this; the grader turns values into
// reflectance.
#ifndef TARN_HOST_IMAGE_H
#define TARN_HOST_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "image/input_error.h"

// The pixels the engine reads: someone else's memory, `stride` bytes from a
// row to the next.
struct grey_view {
  const std::uint8_t* data = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;

  const std::uint8_t* row(int y) const { return data + y * stride; }
  // The pixel as a share of white, 0 to 1.
  float at(int x, int y) const { return row(y)[x] / 255.0f; }
};

// A page as a reader returns it, rows packed.
struct grey_image {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height values, top row first

  operator grey_view() const { return {pixels.data(), width, height, width}; }
};

// Readers refuse images beyond this many pixels rather than run out of
// memory on a forged header.
constexpr long long max_image_pixels = 1LL << 26;

// Readers call this with the header's size before they allocate the pixels.
inline void check_pixel_limit(long long width, long long height) {
  if (width * height > max_image_pixels)
    throw input_error("image too large: " + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels, the limit is " +
                      std::to_string(max_image_pixels));
}

#endif
