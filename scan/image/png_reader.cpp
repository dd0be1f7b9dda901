#include "image/png_reader.h"

#include <png.h>

#include <cstring>
#include <string>
#include <utility>

#include "image/input_error.h"

namespace {

constexpr unsigned char png_signature[8] = {0x89, 'P',  'N',  'G',
                                            '\r', '\n', 0x1a, '\n'};

// Frees libpng's reading state however the read ends.
struct png_reading {
  png_image image;
  png_reading() {
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
  }
  ~png_reading() { png_image_free(&image); }
  png_reading(const png_reading&) = delete;
  png_reading& operator=(const png_reading&) = delete;

  [[noreturn]] void fail() const {
    throw input_error(std::string("bad PNG image: ") + image.message);
  }
};

}  // namespace

bool looks_like_png(const std::vector<unsigned char>& bytes) {
  return bytes.size() >= sizeof png_signature &&
         std::memcmp(bytes.data(), png_signature, sizeof png_signature) == 0;
}

grey_image read_png(const std::vector<unsigned char>& bytes) {
  png_reading reading;
  if (!png_image_begin_read_from_memory(&reading.image, bytes.data(),
                                        bytes.size()))
    reading.fail();
  check_pixel_limit(reading.image.width, reading.image.height);

  // Grey, 8 bits, sRGB-coded; transparent parts show the white paper.
  // 16-bit samples without gAMA or sRGB chunk are sRGB-coded like 8-bit ones
  // (libpng would take them as linear).
  reading.image.format = PNG_FORMAT_GRAY;
  reading.image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
  std::vector<std::uint8_t> grey(PNG_IMAGE_SIZE(reading.image));
  const png_color paper = {255, 255, 255};
  if (!png_image_finish_read(&reading.image, &paper, grey.data(), 0, nullptr))
    reading.fail();

  grey_image image;
  image.width = static_cast<int>(reading.image.width);
  image.height = static_cast<int>(reading.image.height);
  image.pixels = std::move(grey);
  return image;
}
