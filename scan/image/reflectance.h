// Pixel values as the reflectance of the paper they show.
#ifndef TARN_HOST_REFLECTANCE_H
#define TARN_HOST_REFLECTANCE_H

#include <cstdint>

// The reflectance, 0 to 1, of an 8-bit grey value: sRGB-decoded, as every
// reader codes its values, or the value's share of 255 when the user says the
// image holds linear values.
float reflectance(std::uint8_t value, bool linear);

#endif
