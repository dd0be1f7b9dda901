// A grey image as 8-bit sRGB-coded values, 0 black to 255 white, row after
// row. Readers convert every format to this; the grader turns values into
// reflectance.
#ifndef TARN_HOST_IMAGE_H
#define TARN_HOST_IMAGE_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/input_error.h"
#include "image/page_allocator.h"

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

using pixel_vector = std::vector<std::uint8_t, page_allocator<std::uint8_t>>;

// A page as a reader returns it, rows packed.
struct grey_image {
  int width = 0;
  int height = 0;
  pixel_vector pixels;  // width * height values, top row first

  operator grey_view() const { return {pixels.data(), width, height, width}; }
};

// Readers refuse images beyond this many pixels rather than run out of
// memory on a forged header.
constexpr long long max_image_pixels = 1LL << 26;

// The most a decoder may hold beside the page's own pixels: progressive
// JPEG coefficients, TIFF strips and colour rows. With the page and its
// negative a page costs at most two bytes per pixel, or one byte per pixel
// and this, whichever is more.
constexpr std::size_t max_decoder_bytes = std::size_t{64} << 20;

// Readers call this with the header's size before they allocate the pixels.
inline void check_pixel_limit(long long width, long long height) {
  if (width * height > max_image_pixels)
    throw input_error("image too large: " + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels, the limit is " +
                      std::to_string(max_image_pixels));
}

// Readers that know the fewest bytes a page of that size can be coded in
// call this before they allocate its pixels: a header of 8192 x 8192 in a
// file of 100 bytes holds no such page.
inline void check_data_size(const char* format,
                            std::optional<std::uint64_t> file_bytes,
                            std::uint64_t fewest_bytes, long long width,
                            long long height) {
  if (file_bytes && *file_bytes < fewest_bytes)
    throw input_error(std::string("truncated ") + format +
                      " image: " + std::to_string(*file_bytes) +
                      " bytes cannot hold " + std::to_string(width) + " x " +
                      std::to_string(height) + " pixels");
}

#endif
