// WebP images, lossy and lossless, read as grey.
#ifndef TARN_HOST_WEBP_READER_H
#define TARN_HOST_WEBP_READER_H

#include <string_view>

#include "image/image.h"
#include "image/input_file.h"

bool looks_like_webp(std::string_view head);

// Throws input_error for a truncated or corrupt file, an animated one, or one
// beyond max_image_pixels.
grey_image read_webp(input_file& input);

#endif
