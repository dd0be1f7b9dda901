#include "image/image_pages.h"

#include <string>

#include "image/input_error.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image/pnm_reader.h"
#include "image/tiff_reader.h"
#include "image/unknown_input.h"

bool looks_like_image(std::string_view head) {
  return looks_like_png(head) || looks_like_jpeg(head) ||
         looks_like_tiff(head) || looks_like_pnm(head);
}

image_pages::image_pages(input_file& input, int max_pages) : input_(input) {
  if (!looks_like_image(input.head())) throw not_an_input(input.head());
  if (looks_like_tiff(input.head())) {
    tiff_ = std::make_unique<tiff_pages>(input, max_pages);
    count_ = tiff_->count();
  }
}

image_pages::~image_pages() = default;

grey_image image_pages::read(int index) {
  if (index < 0 || index >= count_)
    throw input_error("no page " + std::to_string(index + 1) + " of " +
                      std::to_string(count_));
  try {
    return read_page(index);
  } catch (const input_error&) {
    input_.check_limit();  // the reader saw the stream end early
    throw;
  }
}

grey_image image_pages::read_page(int index) {
  if (tiff_) return tiff_->read(index);
  if (looks_like_png(input_.head())) return read_png(input_);
  if (looks_like_jpeg(input_.head())) return read_jpeg(input_);
  return read_pnm(input_);
}
