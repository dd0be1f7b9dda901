// PNG images of any colour type and bit depth, read as grey.
#ifndef TARN_HOST_PNG_READER_H
#define TARN_HOST_PNG_READER_H

#include <cstdint>
#include <string_view>

#include "image/image.h"
#include "image/input_file.h"

bool looks_like_png(std::string_view head);

// Throws input_error for a truncated or corrupt file, one without IEND, or
// one beyond max_image_pixels. Colour chunks convert the samples to sRGB
// unless they are `linear` reflectance, taken as they stand.
grey_image read_png(input_file& input, bool linear = false);

// Throws input_error for a page beyond max_image_pixels or one that the file
// is too short to hold, before its pixels are allocated.
void check_png_page_size(const input_file& input, std::uint32_t width,
                         std::uint32_t height);

#endif
