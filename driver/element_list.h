// Edge positions to module counts: the element list that the parser reads,
// from a symbol's edges in scan order or in reverse, and before it the check
// that the characters' module widths agree. NormalizeBarsCode39Ext,
// CheckMeanCode39ExtModuleWidths and tarnNormalizeBars apply its rules.
//
// Compilers do not inline a function of the library that has external
// linkage, as the dynamic loader could replace it, so the rules that run
// once per element are inline functions here.
#ifndef TARN_ELEMENT_LIST_H
#define TARN_ELEMENT_LIST_H

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#include "grammar/code39_patterns.h"

// quotient + 0.5 truncated toward zero to 32 bits: NaN gives INT32_MIN, and
// values beyond the range the nearest limit.
inline std::int32_t module_count(double quotient) {
  const double shifted = quotient + 0.5;
  // One test, false for NaN, lets through every value that the cast
  // truncates into range; a cast of the others is undefined.
  if (std::fabs(shifted) < 2147483648.0) {
    return static_cast<std::int32_t>(shifted);
  }
  return shifted > 0 ? std::numeric_limits<std::int32_t>::max()
                     : std::numeric_limits<std::int32_t>::min();
}

// The stored form of a count: its low 8 bits, read back as a signed byte.
inline char stored_count(std::uint32_t count) {
  return static_cast<char>(static_cast<unsigned char>(count & 0xFFu));
}

// Modules per length unit of the n elements from edges[0] to edges[n], which
// span `modules` modules; negative for descending positions. `edges` is a
// pointer, or a reverse iterator for positions read backward.
template <class Edges>
double module_scale(Edges edges, int n, int modules) {
  return static_cast<double>(modules) / (edges[n] - edges[0]);
}

// Writes the counts of the n elements from edges[0] to edges[n] at `scale`
// to out[0] to out[n - 1]; a negative width gives a negative count.
template <class Edges>
void write_counts(Edges edges, int n, double scale, char* out) {
  for (int i = 0; i < n; ++i) {
    const std::int32_t count = module_count((edges[i + 1] - edges[i]) * scale);
    out[i] = stored_count(static_cast<std::uint32_t>(count));
  }
}

// Whether the n module widths widths[0] to widths[n - 1] agree: population
// variance below 0.25, which a NaN variance is not.
template <class Widths>
bool widths_agree(Widths widths, int n) {
  double sum = 0.0;
  double sum_of_squares = 0.0;
  for (int i = 0; i < n; ++i) {
    sum += widths[i];
    sum_of_squares += widths[i] * widths[i];
  }
  const double mean = sum / n;
  const double variance = sum_of_squares / n - mean * mean;
  return variance < 0.25;
}

// Characters of the longest symbol read: start, 98 inner characters, stop.
inline constexpr int max_characters = 100;

// Nine module counts per character and a 0 for each gap between two.
struct element_list {
  std::array<char, max_characters * code39_edges_per_character - 1> counts;
  std::size_t size = 0;
};

// The element list of the `characters` characters (3 to max_characters) of
// a symbol whose edges begin at `edges`, read in scan order or backward from
// its last edge, in place. Made only when the module widths of all characters
// but the last, in reading order, agree: false otherwise, with `elements`
// untouched.
bool read_element_list(const double* edges, int characters, bool backward,
                       element_list& elements);

#endif
