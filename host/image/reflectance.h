// Pixel values as reflectance, the share of light a surface sends back.
#ifndef TARN_HOST_REFLECTANCE_H
#define TARN_HOST_REFLECTANCE_H

#include <cstdint>

// An 8-bit value as reflectance, 0 to 1: decoded from sRGB to linear light,
// or, when `linear`, value / 255 as it stands.
float reflectance(std::uint8_t value, bool linear);

#endif
