#include "image/image_pages.h"

#include "image/input_error.h"
#include "image/png_reader.h"
#include "image/pnm_reader.h"

bool looks_like_image(const std::vector<unsigned char>& bytes) {
  return looks_like_png(bytes) || looks_like_pnm(bytes);
}

image_pages::image_pages(const std::vector<unsigned char>& bytes)
    : bytes_(bytes) {
  if (!looks_like_image(bytes)) throw input_error("not an image");
}

grey_image image_pages::read(int) const {
  return looks_like_png(bytes_) ? read_png(bytes_) : read_pnm(bytes_);
}
