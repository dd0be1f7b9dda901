// The scanner's inputs as an attacker writes them: any bytes as an image of
// any format (every page of it) or an edge file, through the readers, the
// edge finder and the symbol cutter into the plug-in. An unreadable file or
// page may only end in input_error; an image that reads must be whole.
#include <cstdint>
#include <vector>

#include "fuzz/invariant.h"
#include "image/image_pages.h"
#include "image/input_error.h"
#include "plugin/tarn_code39ext.h"
#include "read/scanner.h"

namespace {

void check_image(const grey_image& image) {
  INVARIANT(image.width >= 0 && image.height >= 0);
  INVARIANT(image.pixels.size() == static_cast<std::size_t>(image.width) *
                                       static_cast<std::size_t>(image.height));
  INVARIANT(static_cast<long long>(image.pixels.size()) <= max_image_pixels);
}

// A broken page must not keep the other pages from reading.
void check_pages(const std::vector<unsigned char>& bytes) {
  try {
    const image_pages pages(bytes);
    INVARIANT(pages.count() >= 1);
    for (int page = 0; page < pages.count(); ++page) {
      try {
        check_image(pages.read(page));
      } catch (const input_error&) {
      }
    }
  } catch (const input_error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static decoder_1d_interface* const decoder = new_server_interface(0);
  static const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);
  const std::vector<unsigned char> bytes(data, data + size);

  if (looks_like_image(bytes)) check_pages(bytes);
  try {
    const vote_outcome outcome = scan_input(reader, bytes);
    INVARIANT(outcome.lines_agreed <= outcome.lines_read);
    INVARIANT(outcome.lines_read <= outcome.lines_tried);
    INVARIANT(outcome.lines_rejected <= outcome.lines_tried);
    INVARIANT(!outcome.symbol || outcome.lines_agreed > 0);
  } catch (const input_error&) {
  }
  return 0;
}
