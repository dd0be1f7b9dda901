// JPEG images (baseline, progressive, arithmetic-coded), read as grey.
#ifndef TARN_HOST_JPEG_READER_H
#define TARN_HOST_JPEG_READER_H

#include <string_view>

#include "image/image.h"
#include "image/input_file.h"

bool looks_like_jpeg(std::string_view head);

// Throws input_error for a truncated or corrupt file, a CMYK one, one beyond
// max_image_pixels, or a progressive one whose coefficients would take more
// than max_decoder_bytes.
grey_image read_jpeg(input_file& input);

#endif
