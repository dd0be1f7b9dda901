// The scanner's inputs as an attacker writes them: any bytes as a PNG, a
// PBM/PGM or an edge file, through the readers, the edge finder and the
// symbol cutter into the plug-in. An unreadable file may only end in
// input_error; an image that reads must be whole and hold reflectances.
#include <cstdint>
#include <vector>

#include "fuzz/invariant.h"
#include "image/input_error.h"
#include "image/png_reader.h"
#include "image/pnm_reader.h"
#include "plugin/tarn_code39ext.h"
#include "read/scanner.h"

namespace {

void check_image(const grey_image& image) {
  INVARIANT(image.width >= 0 && image.height >= 0);
  INVARIANT(image.pixels.size() == static_cast<std::size_t>(image.width) *
                                       static_cast<std::size_t>(image.height));
  INVARIANT(static_cast<long long>(image.pixels.size()) <= max_image_pixels);
}

template <class Reader>
void check_reader(Reader read, const std::vector<unsigned char>& bytes) {
  try {
    check_image(read(bytes));
  } catch (const input_error&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static decoder_1d_interface* const decoder = new_server_interface(0);
  static const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);
  const std::vector<unsigned char> bytes(data, data + size);

  if (looks_like_png(bytes)) check_reader(read_png, bytes);
  if (looks_like_pnm(bytes)) check_reader(read_pnm, bytes);
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
