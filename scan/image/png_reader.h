// PNG images of any colour type and bit depth, read as grey.
#ifndef TARN_HOST_PNG_READER_H
#define TARN_HOST_PNG_READER_H

#include <string_view>

#include "image/image.h"
#include "image/input_file.h"

bool looks_like_png(std::string_view head);

// Throws input_error for a truncated or corrupt file, one without IEND, or
// one beyond max_image_pixels.
grey_image read_png(input_file& input);

#endif
