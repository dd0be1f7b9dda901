#include "image/image_pages.h"

#include <string>

#include "image/document_pages.h"
#include "image/input_error.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image/pnm_reader.h"
#include "image/tiff_reader.h"
#include "image/unknown_input.h"
#include "image/webp_reader.h"

bool looks_like_image(std::string_view head) {
  return looks_like_png(head) || looks_like_jpeg(head) ||
         looks_like_tiff(head) || looks_like_webp(head) || looks_like_pnm(head);
}

bool looks_like_pages(std::string_view head,
                      const tarn::page_renderer* renderer) {
  return looks_like_image(head) || looks_like_pdf(head) ||
         (renderer && renderer->reads(head));
}

image_pages::image_pages(input_file& input, const tarn::read_options& options)
    : input_(input), linear_(options.linear) {
  const std::string_view head = input.head();
  if (options.renderer && options.renderer->reads(head)) {
    document_ =
        std::make_unique<document_pages>(input, *options.renderer, options);
    count_ = document_->count();
  } else if (looks_like_pdf(head)) {
    throw input_error(
        "PDF needs the PDF renderer, which this program lacks (tarn-scan and "
        "the Python package have it)");
  } else if (!looks_like_image(head)) {
    throw not_an_input(head);
  } else if (looks_like_tiff(head)) {
    tiff_ = std::make_unique<tiff_pages>(input, options.max_pages);
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
  if (document_) return document_->read(index);
  if (tiff_) return tiff_->read(index);
  if (looks_like_png(input_.head())) return read_png(input_, linear_);
  if (looks_like_jpeg(input_.head())) return read_jpeg(input_);
  if (looks_like_webp(input_.head())) return read_webp(input_);
  return read_pnm(input_);
}
