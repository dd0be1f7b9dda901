#include "read/scanner.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>
#include <utility>

#include "grade/symbol_grade.h"
#include "image/edge_file_reader.h"
#include "image/image_pages.h"
#include "image/input_file.h"
#include "library/grey_pixels.h"
#include "read/decoder_plugin.h"
#include "read/plugin_location.h"
#include "read/serialised_decoder.h"

namespace tarn {

struct scanner::loaded {
  explicit loaded(std::string plugin_path)
      : path(std::move(plugin_path)),
        plugin(path),
        decoder(plugin.new_decoder()),
        one_call_at_a_time(*decoder) {}

  std::string path;
  decoder_plugin plugin;
  decoder_plugin::decoder_ptr decoder;
  serialised_decoder one_call_at_a_time;
};

namespace {

TARN_CHECKSUMFLAGS checksum_flags(checksum_mode mode) {
  switch (mode) {
    case checksum_mode::verify:
      return TARN_CHECKSUM_VERIFY;
    case checksum_mode::strip:
      return TARN_CHECKSUM_VERIFY_STRIP;
    case checksum_mode::none:
      break;
  }
  return TARN_CHECKSUM_NONE;
}

grade_options grading(const read_options& options) {
  grade_options grading;
  grading.checksum = checksum_flags(options.checksum);
  grading.aperture_in_mils = options.aperture > 0 && options.dpi > 0;
  if (options.aperture > 0) grading.aperture = options.aperture;
  grading.dpi = options.dpi;
  grading.linear = options.linear;
  return grading;
}

barcode public_barcode(const found_symbol& symbol) {
  barcode b;
  b.text = symbol.read.text;
  b.raw = symbol.raw;
  b.check_char = symbol.own_check_char;
  b.check_char_ok = symbol.check_char_ok;
  b.located = symbol.located;
  for (std::size_t i = 0; i < b.corners.size(); ++i)
    b.corners[i] = {symbol.corners[i].x, symbol.corners[i].y};
  b.angle = symbol.angle;
  b.module_size = symbol.module_size;
  b.lines_agreed = symbol.lines_agreed;
  b.lines_tried = symbol.lines_tried;
  b.inverted = symbol.inverted;
  return b;
}

// How many symbols a page's search may stop at.
std::size_t enough(const read_options& options) {
  return options.max_symbols > 0 ? static_cast<std::size_t>(options.max_symbols)
                                 : std::numeric_limits<std::size_t>::max();
}

// What the page's symbols are reported as; graded when asked, if they come
// from an image (light-on-dark symbols in its negative).
std::vector<barcode> report(const std::vector<found_symbol>& symbols,
                            const decoder_1d_interface& decoder,
                            const grey_view* image,
                            const read_options& options) {
  std::vector<barcode> barcodes;
  barcodes.reserve(symbols.size());
  std::optional<grey_image> negative;
  for (const found_symbol& symbol : symbols) {
    barcodes.push_back(public_barcode(symbol));
    if (!options.grade || !image) continue;
    if (symbol.inverted && !negative) negative = inverted(*image);
    barcodes.back().grade =
        grade_symbol(decoder, symbol.inverted ? *negative : *image, symbol,
                     grading(options));
  }
  return barcodes;
}

// The page's symbols, graded when asked, and then also the symbol-like areas
// that read nothing.
std::vector<barcode> read_page(const symbol_reader& reader,
                               const decoder_1d_interface& decoder,
                               const grey_view& image,
                               const read_options& options) {
  std::vector<found_symbol> unread;
  std::vector<barcode> barcodes =
      report(find_symbols(reader, image, enough(options),
                          options.grade ? &unread : nullptr),
             decoder, &image, options);
  for (barcode& b : report(unread, decoder, &image, options)) {
    b.decoded = false;
    barcodes.push_back(std::move(b));
  }
  return barcodes;
}

// The page that `read` gives, numbered `page`, or why it failed: its
// std::exception, or lack of memory.
template <typename Read>
page_result guarded_read(int page, Read read) {
  page_result result;
  result.page = page;
  try {
    result.barcodes = read();
    for (barcode& b : result.barcodes) b.page = page;
  } catch (const std::bad_alloc&) {
    result.error = "not enough memory";
  } catch (const std::exception& e) {
    result.error = e.what();
  }
  return result;
}

}  // namespace

scanner::scanner() : scanner(default_plugin_path()) {}

scanner::scanner(const std::string& plugin_path)
    : plugin_(std::make_unique<const loaded>(plugin_path)) {}

scanner::~scanner() = default;
scanner::scanner(scanner&&) noexcept = default;
scanner& scanner::operator=(scanner&&) noexcept = default;

std::string scanner::plugin_path() const { return plugin_->path; }

std::string scanner::plugin_version() const {
  return plugin_->one_call_at_a_time.getversion();
}

std::vector<barcode> scanner::read_barcodes(const image_view& image,
                                            const read_options& options) const {
  std::vector<std::uint8_t> converted;
  const grey_view grey = grey_pixels(image, converted);
  const decoder_1d_interface& decoder = plugin_->one_call_at_a_time;
  const symbol_reader reader(decoder, checksum_flags(options.checksum));
  return read_page(reader, decoder, grey, options);
}

std::vector<page_result> scanner::read_file(const std::string& path,
                                            const read_options& options) const {
  const decoder_1d_interface& decoder = plugin_->one_call_at_a_time;
  const symbol_reader reader(decoder, checksum_flags(options.checksum));
  std::optional<input_file> input;
  std::optional<image_pages> pages;
  page_result opened = guarded_read(0, [&] {
    input.emplace(path, options.max_file_bytes);
    if (!looks_like_pages(input->head(), options.renderer))
      return report(read_edge_lines(reader, read_edge_file(*input)), decoder,
                    nullptr, options);
    pages.emplace(*input, options);
    return std::vector<barcode>{};
  });
  if (!pages) return {std::move(opened)};
  const int count = pages->count();
  std::vector<page_result> results;
  for (int index = 0; index < count; ++index)
    results.push_back(guarded_read(count > 1 ? index + 1 : 0, [&] {
      const grey_image page = pages->read(index);
      const grey_view grey = page;
      return read_page(reader, decoder, grey, options);
    }));
  return results;
}

namespace {

const scanner& default_scanner() {
  static const scanner loaded_once;
  return loaded_once;
}

}  // namespace

std::vector<barcode> read_barcodes(const image_view& image,
                                   const read_options& options) {
  return default_scanner().read_barcodes(image, options);
}

std::vector<page_result> read_file(const std::string& path,
                                   const read_options& options) {
  return default_scanner().read_file(path, options);
}

}  // namespace tarn
