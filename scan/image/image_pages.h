// The pages of an image file, whatever its format, told by its content, or
// of a document the caller's renderer reads.
#ifndef TARN_HOST_IMAGE_PAGES_H
#define TARN_HOST_IMAGE_PAGES_H

#include <memory>
#include <string_view>

#include "image/image.h"
#include "image/input_file.h"
#include "tarn/scan.h"

// True when the bytes start as an image format the scanner reads.
bool looks_like_image(std::string_view head);
// Or as a document: pages, though maybe none that can be rendered here.
bool looks_like_pages(std::string_view head,
                      const tarn::page_renderer* renderer);

class tiff_pages;
class document_pages;

class image_pages {
 public:
  // `input` must outlive the object. Throws input_error when the file is no
  // image or document the scanner reads, or its page list is broken or
  // longer than `options.max_pages`. The options also tell the renderer, and
  // whether samples are taken as they stand (`linear`).
  image_pages(input_file& input, const tarn::read_options& options);
  ~image_pages();
  image_pages(const image_pages&) = delete;
  image_pages& operator=(const image_pages&) = delete;

  int count() const { return count_; }

  // Each page once, in order, as the input's stream goes by. Throws
  // input_error for a broken page, one beyond max_image_pixels, or the
  // input's size limit reached.
  grey_image read(int index);

 private:
  grey_image read_page(int index);

  input_file& input_;
  bool linear_;
  std::unique_ptr<tiff_pages> tiff_;
  std::unique_ptr<document_pages> document_;
  int count_ = 1;
};

#endif
