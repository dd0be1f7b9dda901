#include <stdexcept>
#include <string>

#include "library/grey_pixels.h"

namespace {

// 1 for grey, 3 for RGB and BGR, 4 with alpha.
int channel_count(tarn::pixel_format format) {
  using tarn::pixel_format;
  switch (format) {
    case pixel_format::grey:
      return 1;
    case pixel_format::rgb:
    case pixel_format::bgr:
      return 3;
    case pixel_format::rgba:
    case pixel_format::bgra:
      return 4;
  }
  throw std::invalid_argument("image_view: unknown pixel format");
}

}  // namespace

namespace tarn {

image_view::image_view(const std::uint8_t* data, int width, int height,
                       pixel_format format, std::ptrdiff_t row_stride)
    : data_(data),
      width_(width),
      height_(height),
      format_(format),
      row_stride_(row_stride) {
  if (!data) throw std::invalid_argument("image_view: no pixel data");
  if (width < 1 || height < 1)
    throw std::invalid_argument(
        "image_view: the size must be at least 1 x 1, not " +
        std::to_string(width) + " x " + std::to_string(height));
  const std::ptrdiff_t row_bytes =
      static_cast<std::ptrdiff_t>(width) * channel_count(format);
  if (row_stride_ == 0) row_stride_ = row_bytes;
  if (row_stride_ < row_bytes)
    throw std::invalid_argument(
        "image_view: a row stride of " + std::to_string(row_stride) +
        " bytes is shorter than a row of " + std::to_string(row_bytes));
}

}  // namespace tarn

namespace {

// Luma weights of JPEG's YCbCr in 1/256ths, summing to 256 so that grey
// stays itself.
constexpr int red_weight = 77, green_weight = 150, blue_weight = 29;

std::uint8_t luma(int red, int green, int blue) {
  return static_cast<std::uint8_t>(
      (red_weight * red + green_weight * green + blue_weight * blue + 128) >>
      8);
}

// Grey over white paper: what a transparent pixel shows.
std::uint8_t over_white(int grey, int alpha) {
  return static_cast<std::uint8_t>((grey * alpha + 255 * (255 - alpha) + 127) /
                                   255);
}

}  // namespace

grey_view grey_pixels(const tarn::image_view& image,
                      std::vector<std::uint8_t>& converted) {
  using tarn::pixel_format;
  const pixel_format format = image.format();
  if (format == pixel_format::grey)
    return {image.data(), image.width(), image.height(), image.row_stride()};
  const int channels = channel_count(format);
  const bool bgr = format == pixel_format::bgr || format == pixel_format::bgra;
  const int red = bgr ? 2 : 0, blue = bgr ? 0 : 2;
  const bool alpha = channels == 4;
  const auto width = static_cast<std::size_t>(image.width());
  converted.resize(width * static_cast<std::size_t>(image.height()));
  std::uint8_t* out = converted.data();
  for (int y = 0; y < image.height(); ++y) {
    const std::uint8_t* pixel = image.data() + y * image.row_stride();
    for (std::size_t x = 0; x < width; ++x, pixel += channels) {
      const std::uint8_t grey = luma(pixel[red], pixel[1], pixel[blue]);
      *out++ = alpha ? over_white(grey, pixel[3]) : grey;
    }
  }
  return {converted.data(), image.width(), image.height(), image.width()};
}
