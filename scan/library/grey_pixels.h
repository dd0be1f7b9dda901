// The caller's pixels as the engine reads them: 8-bit grey is read in place;
// colour is turned into grey once.
#ifndef TARN_SCAN_GREY_PIXELS_H
#define TARN_SCAN_GREY_PIXELS_H

#include <cstdint>
#include <vector>

#include "image/image.h"
#include "tarn/scan.h"

// The view's pixels as grey; `converted` holds them when they are not grey
// already.
grey_view grey_pixels(const tarn::image_view& image,
                      std::vector<std::uint8_t>& converted);

#endif
