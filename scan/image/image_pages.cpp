#include "image/image_pages.h"

#include <string>

#include "image/input_error.h"
#include "image/jpeg_reader.h"
#include "image/png_reader.h"
#include "image/pnm_reader.h"
#include "image/tiff_reader.h"

bool looks_like_image(const std::vector<unsigned char>& bytes) {
  return looks_like_png(bytes) || looks_like_jpeg(bytes) ||
         looks_like_tiff(bytes) || looks_like_pnm(bytes);
}

image_pages::image_pages(const std::vector<unsigned char>& bytes)
    : bytes_(bytes) {
  if (!looks_like_image(bytes)) throw input_error("not an image");
  if (looks_like_tiff(bytes)) count_ = count_tiff_pages(bytes);
}

grey_image image_pages::read(int index) const {
  if (index < 0 || index >= count_)
    throw input_error("no page " + std::to_string(index + 1) + " of " +
                      std::to_string(count_));
  if (looks_like_png(bytes_)) return read_png(bytes_);
  if (looks_like_jpeg(bytes_)) return read_jpeg(bytes_);
  if (looks_like_tiff(bytes_)) return read_tiff_page(bytes_, index);
  return read_pnm(bytes_);
}
