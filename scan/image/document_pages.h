// The pages of a document, such as PDF, rendered by the renderer the caller
// hands in: the library itself renders no document format.
#ifndef TARN_HOST_DOCUMENT_PAGES_H
#define TARN_HOST_DOCUMENT_PAGES_H

#include <memory>
#include <string_view>
#include <vector>

#include "image/image.h"
#include "image/input_file.h"
#include "tarn/scan.h"

bool looks_like_pdf(std::string_view head);

class document_pages {
 public:
  // Reads the whole input, which the renderer takes in memory, and opens
  // it. Throws input_error for a broken document or one of more than
  // `options.max_pages` pages.
  document_pages(input_file& input, const tarn::page_renderer& renderer,
                 const tarn::read_options& options);

  int count() const { return count_; }

  // Throws input_error for a page beyond max_image_pixels at the options'
  // resolution, checked before rendering, or one that does not render.
  grey_image read(int index) const;

 private:
  std::vector<char> bytes_;
  std::unique_ptr<tarn::rendered_document> document_;
  double dpi_;
  int count_;
};

#endif
