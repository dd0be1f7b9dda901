#include "image/png_stored_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "image/input_error.h"
#include "image/png_reader.h"

namespace {

// libpng's low-level reader, which unlike its simplified one converts
// nothing unless asked. Errors end in longjmp with the message kept.
struct png_reading {
  std::jmp_buf jump;
  char message[160] = "";
  png_structp png = nullptr;
  png_infop info = nullptr;

  png_reading() {
    png = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, on_error,
                                 on_warning);
    if (png) info = png_create_info_struct(png);
    if (!info) {
      png_destroy_read_struct(&png, nullptr, nullptr);
      throw std::bad_alloc();
    }
  }
  ~png_reading() { png_destroy_read_struct(&png, &info, nullptr); }
  png_reading(const png_reading&) = delete;
  png_reading& operator=(const png_reading&) = delete;

  static void on_error(png_structp png, png_const_charp text) {
    auto* reading = static_cast<png_reading*>(png_get_error_ptr(png));
    std::snprintf(reading->message, sizeof reading->message, "%s", text);
    std::longjmp(reading->jump, 1);
  }
  static void on_warning(png_structp, png_const_charp) {}

  [[noreturn]] void fail(std::FILE* in) const {
    if (std::feof(in)) throw input_error("truncated PNG image");
    throw input_error(std::string("bad PNG image: ") + message);
  }
};

// The steps that call libpng run under setjmp; they hold no object with a
// destructor for longjmp to skip. Each returns false when libpng failed.
bool read_header(png_reading& reading, std::FILE* in) {
  if (setjmp(reading.jump)) return false;
  png_init_io(reading.png, in);
  png_read_info(reading.png, reading.info);
  return true;
}

// One 8-bit grey sample a pixel: palettes and low depths expanded, 16 bits
// scaled, colour weighted to grey, transparency over white paper.
void ask_for_grey(png_structp png, png_infop info) {
  png_set_expand(png);
  png_set_scale_16(png);
  const int colour_type = png_get_color_type(png, info);
  if (colour_type & PNG_COLOR_MASK_COLOR)
    png_set_rgb_to_gray_fixed(png, PNG_ERROR_ACTION_NONE, -1, -1);
  if ((colour_type & PNG_COLOR_MASK_ALPHA) ||
      png_get_valid(png, info, PNG_INFO_tRNS)) {
    const png_uint_16 white =
        png_get_bit_depth(png, info) == 16 ? 0xffff : 0xff;
    png_color_16 paper = {0, white, white, white, white};
    png_set_background_fixed(png, &paper, PNG_BACKGROUND_GAMMA_SCREEN, 0,
                             PNG_FP_1);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

bool read_rows(png_reading& reading, png_bytepp rows, std::size_t width) {
  if (setjmp(reading.jump)) return false;
  ask_for_grey(reading.png, reading.info);
  if (png_get_rowbytes(reading.png, reading.info) != width)
    png_error(reading.png, "unexpected sample layout");
  png_read_image(reading.png, rows);
  png_read_end(reading.png, nullptr);
  return true;
}

}  // namespace

grey_image read_png_as_stored(input_file& input) {
  std::FILE* in = input.stream();
  png_reading reading;
  if (!read_header(reading, in)) reading.fail(in);
  const png_uint_32 width = png_get_image_width(reading.png, reading.info);
  const png_uint_32 height = png_get_image_height(reading.png, reading.info);
  check_png_page_size(input, width, height);
  grey_image image{static_cast<int>(width), static_cast<int>(height), {}};
  image.pixels.resize(std::size_t(width) * height);
  std::vector<png_bytep> rows(height);
  for (png_uint_32 y = 0; y < height; ++y)
    rows[y] = image.pixels.data() + std::size_t(y) * width;
  if (!read_rows(reading, rows.data(), width)) reading.fail(in);
  return image;
}
