// The reflectance profiles that the scanner reads from an image: rows spread
// over its whole height, then columns spread over its whole width, so that a
// symbol turned by a quarter turn reads too. Each profile averages a thin band
// of neighbouring rows (columns), which smooths noise along the bars.
#ifndef TARN_HOST_SCAN_LINES_H
#define TARN_HOST_SCAN_LINES_H

#include <vector>

#include "image/image.h"

using profile = std::vector<float>;

std::vector<profile> scan_profiles(const grey_image& image);

#endif
