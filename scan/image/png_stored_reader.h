// PNG images read with their samples as they stand: colour chunks (gAMA,
// sRGB, iCCP) are ignored, for images whose values are linear reflectance.
#ifndef TARN_HOST_PNG_STORED_READER_H
#define TARN_HOST_PNG_STORED_READER_H

#include "image/image.h"
#include "image/input_file.h"

// Throws input_error for a truncated or corrupt file or one beyond
// max_image_pixels.
grey_image read_png_as_stored(input_file& input);

#endif
