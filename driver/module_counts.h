// Element widths to module counts: the rounding rule and the per-character
// scaling that NormalizeBarsCode39Ext and the decode driver share, so that
// both give bit-identical module widths and counts.
#ifndef TARN_MODULE_COUNTS_H
#define TARN_MODULE_COUNTS_H

#include <cmath>
#include <cstdint>
#include <limits>

namespace module_counts {

// quotient + 0.5 truncated toward zero to 32 bits: NaN maps to INT32_MIN and
// values beyond the range to the nearest limit. A plain cast of such values
// is undefined, so the range is tested first: one test, false for NaN, lets
// through all that a cast handles but -2^31 and the values just below it,
// which truncate to INT32_MIN anyway.
inline std::int32_t rounded(double quotient) {
  const double shifted = quotient + 0.5;
  if (std::fabs(shifted) < 2147483648.0) {
    return static_cast<std::int32_t>(shifted);
  }
  return shifted > 0 ? std::numeric_limits<std::int32_t>::max()
                     : std::numeric_limits<std::int32_t>::min();
}

// The stored form of a count: its low 8 bits, read back as a signed byte.
inline char low_byte(std::uint32_t count) {
  return static_cast<char>(static_cast<unsigned char>(count & 0xFFu));
}

// Modules per length unit of the n elements from edges[0] to edges[n]. Its
// reciprocal is their module width; negative for descending positions.
template <class Edges>
double scale(Edges edges, int n, int modules) {
  return static_cast<double>(modules) / (edges[n] - edges[0]);
}

// Writes the counts of the n elements to out[0] to out[n-1]; a negative width
// gives a negative count.
template <class Edges>
void write(Edges edges, int n, double scale, char* out) {
  for (int i = 0; i < n; ++i) {
    const std::int32_t count = rounded((edges[i + 1] - edges[i]) * scale);
    out[i] = low_byte(static_cast<std::uint32_t>(count));
  }
}

}  // namespace module_counts

#endif
