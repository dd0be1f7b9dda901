#include "image/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "image/input_error.h"

namespace {

constexpr unsigned char jpeg_signature[3] = {0xff, 0xd8, 0xff};

// libjpeg reports an error by calling error_exit, which must not return: it
// keeps the message and jumps back to the step that failed.
struct jpeg_failure {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jump_back(j_common_ptr info) {
  auto* failure = reinterpret_cast<jpeg_failure*>(info->err);
  info->err->format_message(info, failure->message);
  std::longjmp(failure->jump, 1);
}

// Warnings stay quiet, but a file that ends early is an error: libjpeg would
// fill the rest grey.
void on_message(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) jump_back(info);
}

// A progressive file may repeat its scans without end, each a pass over the
// whole image; real files have a dozen.
constexpr int max_scans = 100;

void limit_scans(j_common_ptr info) {
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= max_scans)
    return;
  auto* failure = reinterpret_cast<jpeg_failure*>(info->err);
  std::snprintf(failure->message, sizeof failure->message, "more than %d scans",
                max_scans);
  std::longjmp(failure->jump, 1);
}

// The decompressor and its error handler, destroyed however the read ends.
struct jpeg_reading {
  jpeg_decompress_struct info;
  jpeg_failure failure;
  jpeg_progress_mgr progress;

  jpeg_reading() {
    std::memset(&info, 0, sizeof info);
    std::memset(&failure, 0, sizeof failure);
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = jump_back;
    failure.manager.emit_message = on_message;
    std::memset(&progress, 0, sizeof progress);
    progress.progress_monitor = limit_scans;
  }
  ~jpeg_reading() { jpeg_destroy_decompress(&info); }
  jpeg_reading(const jpeg_reading&) = delete;
  jpeg_reading& operator=(const jpeg_reading&) = delete;

  [[noreturn]] void fail() const {
    throw input_error(std::string("bad JPEG image: ") + failure.message);
  }
};

// The two steps that call libjpeg run under setjmp; they hold no object with
// a destructor for longjmp to skip. Each returns false when libjpeg failed.
bool read_header(jpeg_reading& reading,
                 const std::vector<unsigned char>& bytes) {
  if (setjmp(reading.failure.jump)) return false;
  jpeg_create_decompress(&reading.info);
  reading.info.progress = &reading.progress;
  jpeg_mem_src(&reading.info, bytes.data(), bytes.size());
  jpeg_read_header(&reading.info, TRUE);
  return true;
}

bool decode_grey(jpeg_reading& reading, std::uint8_t* pixels) {
  if (setjmp(reading.failure.jump)) return false;
  jpeg_decompress_struct& info = reading.info;
  info.out_color_space = JCS_GRAYSCALE;
  jpeg_start_decompress(&info);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels + static_cast<std::size_t>(info.output_scanline) *
                                info.output_width;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  return true;
}

}  // namespace

bool looks_like_jpeg(const std::vector<unsigned char>& bytes) {
  return bytes.size() >= sizeof jpeg_signature &&
         std::memcmp(bytes.data(), jpeg_signature, sizeof jpeg_signature) == 0;
}

grey_image read_jpeg(const std::vector<unsigned char>& bytes) {
  jpeg_reading reading;
  if (!read_header(reading, bytes)) reading.fail();
  const J_COLOR_SPACE colours = reading.info.jpeg_color_space;
  if (colours == JCS_CMYK || colours == JCS_YCCK)
    throw input_error("CMYK JPEG images are not supported");

  grey_image image;
  image.width = static_cast<int>(reading.info.image_width);
  image.height = static_cast<int>(reading.info.image_height);
  check_pixel_limit(image.width, image.height);
  image.pixels.resize(static_cast<std::size_t>(image.width) *
                      static_cast<std::size_t>(image.height));
  if (!decode_grey(reading, image.pixels.data())) reading.fail();
  return image;
}
