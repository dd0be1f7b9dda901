#include "image/pnm_reader.h"

#include <cstddef>
#include <string>
#include <vector>

#include "image/input_error.h"

namespace {

bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' ||
         c == '\f';
}

bool is_digit(int c) { return c >= '0' && c <= '9'; }

[[noreturn]] void truncated() { throw input_error("truncated PNM image"); }

// Reads a Netpbm file front to back, counting the bytes it has taken.
class pnm_cursor {
 public:
  explicit pnm_cursor(std::FILE* in) : in_(in) {
    next();
    next();  // the magic number
  }

  // Whitespace and '#' comments, which may stand between any two tokens.
  void skip_separators() {
    for (int c = peek(); c == '#' || is_space(c); c = peek()) {
      next();
      if (c == '#')
        while (peek() != '\n' && peek() != EOF) next();
    }
  }

  // A decimal number from `low` to `high`; `what` names it in errors.
  unsigned number(const char* what, unsigned low, unsigned high) {
    skip_separators();
    if (peek() == EOF) truncated();
    if (!is_digit(peek())) throw input_error(std::string("bad PNM ") + what);
    unsigned long long value = 0;
    while (is_digit(peek())) {
      value = value * 10 + static_cast<unsigned>(next() - '0');
      if (value > high)
        throw input_error(std::string("PNM ") + what + " out of range");
    }
    if (value < low) throw input_error(std::string("bad PNM ") + what);
    return static_cast<unsigned>(value);
  }

  // One plain-PBM digit; they need no separators between them.
  bool plain_bit() {
    skip_separators();
    const int c = next();
    if (c == EOF) truncated();
    if (c != '0' && c != '1') throw input_error("bad PBM pixel");
    return c == '1';
  }

  // The single whitespace byte that ends the header of a raw raster.
  void end_of_header() {
    const int c = next();
    if (c == EOF) truncated();
    if (!is_space(c)) throw input_error("bad PNM header");
  }

  void read(unsigned char* bytes, std::size_t size) {
    if (std::fread(bytes, 1, size, in_) != size) truncated();
    taken_ += size;
  }

  std::uint64_t taken() const { return taken_; }

 private:
  int peek() {
    const int c = getc(in_);
    if (c != EOF) ungetc(c, in_);
    return c;
  }
  int next() {
    const int c = getc(in_);
    taken_ += c != EOF;
    return c;
  }

  std::FILE* in_;
  std::uint64_t taken_ = 0;
};

// A sample of 0 to `maxval` on the 0 to 255 scale, rounded to nearest.
std::uint8_t to_8_bits(unsigned sample, unsigned maxval) {
  return static_cast<std::uint8_t>((sample * 255u + maxval / 2) / maxval);
}

void read_plain_pbm(pnm_cursor& cursor, grey_image& image) {
  for (std::uint8_t& pixel : image.pixels) pixel = cursor.plain_bit() ? 0 : 255;
}

void read_raw_pbm(pnm_cursor& cursor, grey_image& image) {
  std::vector<unsigned char> row((static_cast<std::size_t>(image.width) + 7) /
                                 8);
  std::uint8_t* pixel = image.pixels.data();
  for (int y = 0; y < image.height; ++y) {
    cursor.read(row.data(), row.size());
    for (int x = 0; x < image.width; ++x)
      *pixel++ = (row[x / 8] & (0x80 >> (x % 8))) ? 0 : 255;
  }
}

void read_plain_pgm(pnm_cursor& cursor, grey_image& image, unsigned maxval) {
  for (std::uint8_t& pixel : image.pixels)
    pixel = to_8_bits(cursor.number("sample", 0, maxval), maxval);
}

void read_raw_pgm(pnm_cursor& cursor, grey_image& image, unsigned maxval) {
  if (maxval == 255) {  // the samples are the pixels
    cursor.read(image.pixels.data(), image.pixels.size());
    return;
  }
  const std::size_t sample_bytes = maxval > 255 ? 2 : 1;
  std::vector<unsigned char> row(static_cast<std::size_t>(image.width) *
                                 sample_bytes);
  std::uint8_t* pixel = image.pixels.data();
  for (int y = 0; y < image.height; ++y) {
    cursor.read(row.data(), row.size());
    for (std::size_t i = 0; i < row.size(); i += sample_bytes) {
      const unsigned sample =
          sample_bytes == 2 ? row[i] << 8 | row[i + 1] : row[i];
      if (sample > maxval) throw input_error("PGM sample above its maximum");
      *pixel++ = to_8_bits(sample, maxval);
    }
  }
}

// The fewest raster bytes of each type: a digit per plain bit, a digit and
// a separator per plain sample, packed bits or whole samples when raw.
std::uint64_t fewest_bytes(char type, std::uint64_t width, std::uint64_t height,
                           unsigned maxval) {
  switch (type) {
    case '1':
      return width * height;
    case '2':
      return 2 * width * height - 1;
    case '4':
      return (width + 7) / 8 * height;
    default:
      return width * height * (maxval > 255 ? 2 : 1);
  }
}

}  // namespace

bool looks_like_pnm(std::string_view head) {
  return head.size() >= 2 && head[0] == 'P' && head[1] >= '1' && head[1] <= '7';
}

grey_image read_pnm(input_file& input) {
  const char type = input.head()[1];
  if (type != '1' && type != '2' && type != '4' && type != '5')
    throw input_error(std::string("unsupported Netpbm type P") + type +
                      " (PBM and PGM only)");
  pnm_cursor cursor(input.stream());
  grey_image image;
  image.width = static_cast<int>(cursor.number("width", 1, 1u << 30));
  image.height = static_cast<int>(cursor.number("height", 1, 1u << 30));
  check_pixel_limit(image.width, image.height);
  const bool bitmap = type == '1' || type == '4';
  const unsigned maxval = bitmap ? 1 : cursor.number("maximum value", 1, 65535);
  if (type == '4' || type == '5') cursor.end_of_header();
  if (const auto size = input.size())
    check_data_size("PNM", *size - cursor.taken(),
                    fewest_bytes(type, image.width, image.height, maxval),
                    image.width, image.height);
  image.pixels.resize(static_cast<std::size_t>(image.width) *
                      static_cast<std::size_t>(image.height));
  switch (type) {
    case '1':
      read_plain_pbm(cursor, image);
      break;
    case '4':
      read_raw_pbm(cursor, image);
      break;
    case '2':
      read_plain_pgm(cursor, image, maxval);
      break;
    default:
      read_raw_pgm(cursor, image, maxval);
  }
  return image;
}
