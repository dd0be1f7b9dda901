// The pages of an image file, whatever its format, told by its content.
#ifndef TARN_HOST_IMAGE_PAGES_H
#define TARN_HOST_IMAGE_PAGES_H

#include <vector>

#include "image/image.h"

// True when the bytes start as an image format the scanner reads.
bool looks_like_image(const std::vector<unsigned char>& bytes);

class image_pages {
 public:
  // `bytes` must outlive the object. Throws input_error when the file is no
  // image the scanner reads or its page list is broken.
  explicit image_pages(const std::vector<unsigned char>& bytes);

  int count() const { return count_; }

  // Throws input_error for a broken page or one beyond max_image_pixels.
  grey_image read(int index) const;

 private:
  const std::vector<unsigned char>& bytes_;
  int count_ = 1;
};

#endif
