#include "image/jpeg_reader.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

// jpeglib.h needs FILE and size_t declared before it.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "image/input_error.h"

namespace {

constexpr std::string_view jpeg_signature = "\xff\xd8\xff";

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

// Warnings stay quiet, but data that ends early, at the end of the file or
// of a scan, is an error: libjpeg would fill the rest grey.
void on_message(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER))
    jump_back(info);
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

// Huffman codes take at least a bit for each block's first coefficient:
// the fewest bytes a page of that size is coded in. Arithmetic coding may
// take less.
std::uint64_t fewest_bytes(const jpeg_decompress_struct& info) {
  if (info.arith_code) return 0;
  std::uint64_t blocks = 0;
  for (int i = 0; i < info.num_components; ++i)
    blocks += std::uint64_t{info.comp_info[i].width_in_blocks} *
              info.comp_info[i].height_in_blocks;
  return blocks / 8;
}

// A file of several scans (progressive ones) keeps every coefficient of
// every component, two bytes each, until its last scan is read.
std::uint64_t coefficient_bytes(jpeg_decompress_struct& info) {
  if (!jpeg_has_multiple_scans(&info)) return 0;
  const auto round_up = [](std::uint64_t n, std::uint64_t step) {
    return (n + step - 1) / step * step;
  };
  std::uint64_t coefficients = 0;
  for (int i = 0; i < info.num_components; ++i) {
    const jpeg_component_info& c = info.comp_info[i];
    coefficients += round_up(c.width_in_blocks, c.h_samp_factor) *
                    round_up(c.height_in_blocks, c.v_samp_factor) * DCTSIZE2;
  }
  return coefficients * sizeof(JCOEF);
}

// The two steps that call libjpeg run under setjmp; they hold no object with
// a destructor for longjmp to skip. Each returns false when libjpeg failed.
bool read_header(jpeg_reading& reading, std::FILE* in) {
  if (setjmp(reading.failure.jump)) return false;
  jpeg_create_decompress(&reading.info);
  reading.info.progress = &reading.progress;
  jpeg_stdio_src(&reading.info, in);
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

bool looks_like_jpeg(std::string_view head) {
  return head.substr(0, jpeg_signature.size()) == jpeg_signature;
}

grey_image read_jpeg(input_file& input) {
  jpeg_reading reading;
  if (!read_header(reading, input.stream())) reading.fail();
  jpeg_decompress_struct& info = reading.info;
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK)
    throw input_error("CMYK JPEG images are not supported");
  const int width = static_cast<int>(info.image_width);
  const int height = static_cast<int>(info.image_height);
  check_pixel_limit(width, height);
  check_data_size("JPEG", input.size(), fewest_bytes(info), width, height);
  const std::uint64_t coefficients = coefficient_bytes(info);
  if (coefficients > max_decoder_bytes)
    throw input_error(
        "progressive JPEG image too large: " + std::to_string(width) + " x " +
        std::to_string(height) + " pixels take " +
        std::to_string(coefficients >> 20) + " MB to decode, the limit is " +
        std::to_string(max_decoder_bytes >> 20) + " MB");

  grey_image image{width, height, {}};
  image.pixels.resize(static_cast<std::size_t>(width) *
                      static_cast<std::size_t>(height));
  if (!decode_grey(reading, image.pixels.data())) reading.fail();
  return image;
}
