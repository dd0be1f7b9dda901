// TIFF images of one or more pages, any photometric interpretation libtiff's
// RGBA interface reads (grey, RGB, palette, 1 to 16 bits, YCbCr, CMYK),
// striped or tiled, read as grey a band of rows at a time.
#ifndef TARN_HOST_TIFF_READER_H
#define TARN_HOST_TIFF_READER_H

#include <memory>
#include <string_view>

#include "image/image.h"
#include "image/input_file.h"

bool looks_like_tiff(std::string_view head);

class tiff_pages {
 public:
  // Throws input_error when the header or the first page's directory is
  // broken, or when the file has more than `max_pages` pages.
  tiff_pages(input_file& input, int max_pages);
  ~tiff_pages();
  tiff_pages(const tiff_pages&) = delete;
  tiff_pages& operator=(const tiff_pages&) = delete;

  int count() const { return count_; }

  // The page of that index, from 0. Throws input_error for a broken or
  // unsupported page, one beyond max_image_pixels, or one whose data lies
  // beyond the end of the file.
  grey_image read(int index);

 private:
  class tiff_file;
  std::unique_ptr<tiff_file> file_;
  int count_ = 0;
  bool chain_broken_ = false;  // the last page's directory or link is cut
  int current_ = 0;  // the page libtiff stands on; -1 after a broken one
};

#endif
