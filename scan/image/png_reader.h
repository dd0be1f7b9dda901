// PNG images of any colour type and bit depth, read as grey.
#ifndef TARN_HOST_PNG_READER_H
#define TARN_HOST_PNG_READER_H

#include <vector>

#include "image/image.h"

bool looks_like_png(const std::vector<unsigned char>& bytes);

// Throws input_error for a truncated or corrupt file.
grey_image read_png(const std::vector<unsigned char>& bytes);

#endif
