// JPEG images (baseline, progressive, arithmetic-coded), read as grey.
#ifndef TARN_HOST_JPEG_READER_H
#define TARN_HOST_JPEG_READER_H

#include <vector>

#include "image/image.h"

bool looks_like_jpeg(const std::vector<unsigned char>& bytes);

// Throws input_error for a truncated or corrupt file, a CMYK one, or one
// beyond max_image_pixels.
grey_image read_jpeg(const std::vector<unsigned char>& bytes);

#endif
