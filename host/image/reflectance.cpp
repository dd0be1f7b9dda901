#include "image/reflectance.h"

#include <cmath>

float reflectance(std::uint8_t value, bool linear) {
  const float coded = value / 255.0f;
  if (linear) return coded;
  // The sRGB transfer function's inverse: a straight foot, then a power.
  if (coded <= 0.04045f) return coded / 12.92f;
  return std::pow((coded + 0.055f) / 1.055f, 2.4f);
}
