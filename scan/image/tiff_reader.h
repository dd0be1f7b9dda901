// TIFF images of one or more pages, any photometric interpretation libtiff's
// RGBA interface reads (grey, RGB, palette, 1 to 16 bits, YCbCr, CMYK),
// striped or tiled, read as grey.
#ifndef TARN_HOST_TIFF_READER_H
#define TARN_HOST_TIFF_READER_H

#include <vector>

#include "image/image.h"

bool looks_like_tiff(const std::vector<unsigned char>& bytes);

// Throws input_error when the header or the first page's directory is
// broken.
int count_tiff_pages(const std::vector<unsigned char>& bytes);

// The page of that index, from 0. Throws input_error for a broken or
// unsupported page, or one beyond max_image_pixels.
grey_image read_tiff_page(const std::vector<unsigned char>& bytes, int index);

#endif
