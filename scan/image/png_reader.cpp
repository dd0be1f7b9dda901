#include "image/png_reader.h"

#include <png.h>

#include <cstring>
#include <string>

#include "image/input_error.h"
#include "image/png_stored_reader.h"

namespace {

constexpr char png_signature[] = "\x89PNG\r\n\x1a\n";

// Deflate codes at most 1032 bytes in one: a page's rows, at least one bit
// a pixel, take at least this share of it.
constexpr std::uint64_t deflate_best_ratio = 1032;

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

  [[noreturn]] void fail(std::FILE* in) const {
    if (std::feof(in)) throw input_error("truncated PNG image");
    throw input_error(std::string("bad PNG image: ") + image.message);
  }
};

std::uint32_t big_endian(const unsigned char* bytes) {
  return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 |
         std::uint32_t{bytes[2]} << 8 | bytes[3];
}

// libpng stops reading after the image data: the chunks after it are
// skipped here up to IEND, without which the file was cut short.
void read_to_end(std::FILE* in) {
  unsigned char header[8];
  while (std::fread(header, 1, sizeof header, in) == sizeof header) {
    if (std::memcmp(header + 4, "IEND", 4) == 0 &&
        std::fread(header, 1, 4, in) == 4)  // its CRC
      return;
    const long skipped = static_cast<long>(big_endian(header)) + 4;  // + CRC
    if (std::fseek(in, skipped, SEEK_CUR) != 0)
      for (long i = 0; i < skipped && std::getc(in) != EOF; ++i) {
      }
  }
  throw input_error("truncated PNG image: no IEND chunk");
}

}  // namespace

bool looks_like_png(std::string_view head) {
  return head.substr(0, 8) == std::string_view(png_signature, 8);
}

void check_png_page_size(const input_file& input, std::uint32_t width,
                         std::uint32_t height) {
  check_pixel_limit(width, height);
  const std::uint64_t least_rows =
      std::uint64_t{height} * (1 + (width + 7) / 8);
  check_data_size("PNG", input.size(), least_rows / deflate_best_ratio, width,
                  height);
}

grey_image read_png(input_file& input, bool linear) {
  if (linear) return read_png_as_stored(input);
  std::FILE* in = input.stream();
  png_reading reading;
  if (!png_image_begin_read_from_stdio(&reading.image, in)) reading.fail(in);
  const png_uint_32 width = reading.image.width, height = reading.image.height;
  check_png_page_size(input, width, height);

  // Grey, 8 bits, sRGB-coded; transparent parts show the white paper.
  // 16-bit samples without gAMA or sRGB chunk are sRGB-coded like 8-bit ones
  // (libpng would take them as linear).
  reading.image.format = PNG_FORMAT_GRAY;
  reading.image.flags |= PNG_IMAGE_FLAG_16BIT_sRGB;
  grey_image image{static_cast<int>(width), static_cast<int>(height), {}};
  image.pixels.resize(PNG_IMAGE_SIZE(reading.image));
  const png_color paper = {255, 255, 255};
  if (!png_image_finish_read(&reading.image, &paper, image.pixels.data(), 0,
                             nullptr))
    reading.fail(in);
  read_to_end(in);
  return image;
}
