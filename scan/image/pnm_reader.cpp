#include "image/pnm_reader.h"

#include <cstddef>
#include <string>

#include "image/input_error.h"

namespace {

bool is_space(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' ||
         c == '\f';
}

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Reads a Netpbm file front to back.
class pnm_cursor {
 public:
  explicit pnm_cursor(const std::vector<unsigned char>& bytes)
      : bytes_(bytes) {}

  // Whitespace and '#' comments, which may stand between any two tokens.
  void skip_separators() {
    while (pos_ < bytes_.size()) {
      if (bytes_[pos_] == '#') {
        while (pos_ < bytes_.size() && bytes_[pos_] != '\n') ++pos_;
      } else if (is_space(bytes_[pos_])) {
        ++pos_;
      } else {
        return;
      }
    }
  }

  // A decimal number from `low` to `high`; `what` names it in errors.
  unsigned number(const char* what, unsigned low, unsigned high) {
    skip_separators();
    if (pos_ == bytes_.size()) throw input_error("truncated PNM image");
    if (!is_digit(bytes_[pos_]))
      throw input_error(std::string("bad PNM ") + what);
    unsigned long long value = 0;
    while (pos_ < bytes_.size() && is_digit(bytes_[pos_])) {
      value = value * 10 + (bytes_[pos_++] - '0');
      if (value > high)
        throw input_error(std::string("PNM ") + what + " out of range");
    }
    if (value < low) throw input_error(std::string("bad PNM ") + what);
    return static_cast<unsigned>(value);
  }

  // One plain-PBM digit; they need no separators between them.
  bool plain_bit() {
    skip_separators();
    if (pos_ == bytes_.size()) throw input_error("truncated PNM image");
    const unsigned char c = bytes_[pos_++];
    if (c != '0' && c != '1') throw input_error("bad PBM pixel");
    return c == '1';
  }

  // The single whitespace byte that ends the header of a raw raster.
  void end_of_header() {
    if (pos_ == bytes_.size()) throw input_error("truncated PNM image");
    if (!is_space(bytes_[pos_++])) throw input_error("bad PNM header");
  }

  unsigned char byte() {
    if (pos_ == bytes_.size()) throw input_error("truncated PNM image");
    return bytes_[pos_++];
  }

 private:
  const std::vector<unsigned char>& bytes_;
  std::size_t pos_ = 2;  // past the magic number
};

// A sample of 0 to `maxval` on the 0 to 255 scale, rounded to nearest.
std::uint8_t to_8_bits(unsigned sample, unsigned maxval) {
  return static_cast<std::uint8_t>((sample * 255u + maxval / 2) / maxval);
}

void read_plain_pbm(pnm_cursor& cursor, grey_image& image) {
  for (std::uint8_t& pixel : image.pixels) pixel = cursor.plain_bit() ? 0 : 255;
}

void read_raw_pbm(pnm_cursor& cursor, grey_image& image) {
  cursor.end_of_header();
  std::size_t i = 0;
  for (int y = 0; y < image.height; ++y) {
    unsigned char bits = 0;
    for (int x = 0; x < image.width; ++x) {
      if (x % 8 == 0) bits = cursor.byte();
      image.pixels[i++] = (bits & (0x80 >> (x % 8))) ? 0 : 255;
    }
  }
}

void read_plain_pgm(pnm_cursor& cursor, grey_image& image, unsigned maxval) {
  for (std::uint8_t& pixel : image.pixels)
    pixel = to_8_bits(cursor.number("sample", 0, maxval), maxval);
}

void read_raw_pgm(pnm_cursor& cursor, grey_image& image, unsigned maxval) {
  cursor.end_of_header();
  for (std::uint8_t& pixel : image.pixels) {
    unsigned sample = cursor.byte();
    if (maxval > 255) sample = sample << 8 | cursor.byte();
    if (sample > maxval) throw input_error("PGM sample above its maximum");
    pixel = to_8_bits(sample, maxval);
  }
}

}  // namespace

bool looks_like_pnm(const std::vector<unsigned char>& bytes) {
  return bytes.size() >= 2 && bytes[0] == 'P' && bytes[1] >= '1' &&
         bytes[1] <= '7';
}

grey_image read_pnm(const std::vector<unsigned char>& bytes) {
  const char type = static_cast<char>(bytes.at(1));
  if (type != '1' && type != '2' && type != '4' && type != '5')
    throw input_error(std::string("unsupported Netpbm type P") + type +
                      " (PBM and PGM only)");
  pnm_cursor cursor(bytes);
  grey_image image;
  image.width = static_cast<int>(cursor.number("width", 1, 1u << 30));
  image.height = static_cast<int>(cursor.number("height", 1, 1u << 30));
  check_pixel_limit(image.width, image.height);
  const bool bitmap = type == '1' || type == '4';
  const unsigned maxval = bitmap ? 1 : cursor.number("maximum value", 1, 65535);
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
