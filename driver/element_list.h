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
  constexpr double beyond = 2147483648.0;
  if (std::fabs(shifted) < beyond) return static_cast<std::int32_t>(shifted);
  return shifted >= beyond ? std::numeric_limits<std::int32_t>::max()
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
  for (char* const end = out + n; out != end; ++out, ++edges) {
    const std::int32_t count = module_count((edges[1] - edges[0]) * scale);
    *out = stored_count(static_cast<std::uint32_t>(count));
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

// The characters of one symbol, 3 to max_characters of them, and their
// module widths, measured in scan order from the host's edges, which it reads
// in place.
//
// Read backward, every element's width and every character's total width
// change sign, exactly: so do the scales and module widths, and the counts
// stay the same, so the list read backward is the one in scan order turned
// around. The exception is a total of zero, x - x being +0 either way, whose
// scale is the same infinity both ways: a character with an infinite scale is
// measured again from its edges read backward.
class symbol_widths {
 public:
  symbol_widths(const double* edges, int characters);

  // Whether the module widths agree for a reading in scan order or backward:
  // those of all characters but the one read last, in reading order.
  bool agree(bool backward) const;
  // Whether the first character in scan order reads as the start character.
  bool starts_with_start_character() const;
  // The element list in scan order.
  void write(element_list& elements) const;
  // The element list read backward.
  void write_backward(element_list& elements) const;
  // Turns the list in scan order in `elements` into the list read backward.
  void turn_around(element_list& elements) const;

 private:
  // Writes the counts of character c (in scan order) read backward to `out`.
  void write_character_backward(int c, char* out) const;
  // Sets the list's size and its gaps, which follow every character but the
  // last.
  void close_gaps(element_list& elements) const;

  const double* edges_;
  int characters_;
  std::array<double, max_characters> scales_;  // modules per length unit
  std::array<double, max_characters> widths_;  // their reciprocals
};

#endif
