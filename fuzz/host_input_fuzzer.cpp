// The scanner's inputs as an attacker writes them: any bytes as an image of
// any format or a PDF (every page of it) or an edge file, through the readers,
// the edge finder and the symbol cutter into the plug-in. An unreadable file or
// page may only end in input_error; an image that reads must be whole.
#include <cstdint>
#include <vector>

#include "fuzz/invariant.h"
#include "image/edge_file_reader.h"
#include "image/image_pages.h"
#include "image/input_error.h"
#include "image/input_file.h"
#include "pdf_renderer.h"
#include "plugin/tarn_code39ext.h"
#include "read/scanner.h"

namespace {

// Larger pages are read but not scanned: scanning them runs the same code
// on more pixels, at a fraction of the executions per second.
constexpr std::size_t max_scanned_pixels = 1 << 16;

// PDF pages rendered small: poppler itself is not instrumented, and the
// page checks run the same at any resolution.
tarn::read_options fuzzing_options() {
  tarn::read_options options;
  options.renderer = &pdf_renderer();
  options.pdf_dpi = 9;
  return options;
}

// A symbol is reported with its text, and lines that agree on it.
void check_symbols(const std::vector<found_symbol>& symbols) {
  for (const found_symbol& symbol : symbols) {
    INVARIANT(!symbol.read.text.empty());
    INVARIANT(symbol.lines_agreed > 0);
    INVARIANT(symbol.lines_agreed <= symbol.lines_tried);
    INVARIANT(!symbol.located || (symbol.angle >= 0 && symbol.angle < 360 &&
                                  symbol.module_size > 0));
  }
}

// Every page that reads is whole; a broken page must not keep the other
// pages from reading.
void check_pages(const symbol_reader& reader, input_file& input) {
  image_pages pages(input, fuzzing_options());
  INVARIANT(pages.count() >= 1);
  for (int page = 0; page < pages.count(); ++page) {
    try {
      const grey_image image = pages.read(page);
      INVARIANT(image.width >= 0 && image.height >= 0);
      INVARIANT(image.pixels.size() == std::size_t(image.width) * image.height);
      INVARIANT(static_cast<long long>(image.pixels.size()) <=
                max_image_pixels);
      if (image.pixels.size() <= max_scanned_pixels)
        check_symbols(find_symbols(reader, image));
    } catch (const input_error&) {
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static decoder_1d_interface* const decoder = new_server_interface(0);
  static const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);
  const std::vector<unsigned char> bytes(data, data + size);
  try {
    input_file input(bytes);
    if (looks_like_pages(input.head(), &pdf_renderer()))
      check_pages(reader, input);
    else
      check_symbols(read_edge_lines(reader, read_edge_file(input)));
  } catch (const input_error&) {
  }
  return 0;
}
