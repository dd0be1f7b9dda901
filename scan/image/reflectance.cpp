#include "image/reflectance.h"

#include <array>
#include <cmath>

namespace {

// The sRGB transfer function, inverted.
std::array<float, 256> srgb_decoding_table() {
  std::array<float, 256> table{};
  for (int value = 0; value < 256; ++value) {
    const double coded = value / 255.0;
    table[value] = static_cast<float>(
        coded <= 0.04045 ? coded / 12.92
                         : std::pow((coded + 0.055) / 1.055, 2.4));
  }
  return table;
}

}  // namespace

float reflectance(std::uint8_t value, bool linear) {
  static const std::array<float, 256> decoded = srgb_decoding_table();
  return linear ? value / 255.0f : decoded[value];
}
