// Each character's scale, module width and nine module counts for all the
// characters of a symbol, exactly as NormalizeBarsCode39Ext gives them one
// character at a time. Edges in scan order (a plain pointer) go two lanes at
// a time where SSE2 is there; any other edge sequence, such as a reversed
// one, one element at a time.
#ifndef TARN_SYMBOL_COUNTS_H
#define TARN_SYMBOL_COUNTS_H

#include "driver/module_counts.h"

namespace symbol_counts {

inline constexpr int kEdgesPerCharacter = 10;
inline constexpr int kElementsPerCharacter = 9;
inline constexpr int kModulesPerCharacter = 12;

// scales[c] and widths[c] (the reciprocal of scales[c]) for each character c.
template <class Edges>
void measure(Edges edges, int characters, double* scales, double* widths) {
  for (int c = 0; c < characters; ++c) {
    scales[c] =
        module_counts::scale(edges + c * kEdgesPerCharacter,
                             kElementsPerCharacter, kModulesPerCharacter);
    widths[c] = 1.0 / scales[c];
  }
}

// Each character's nine counts, scaled by scales[c], then a 0 for the gap
// after it, which reads as narrow whatever its width: 10 * characters - 1
// counts in all.
template <class Edges>
void write(Edges edges, int characters, const double* scales, char* counts) {
  for (int c = 0; c < characters; ++c) {
    char* character = counts + c * kEdgesPerCharacter;
    module_counts::write(edges + c * kEdgesPerCharacter, kElementsPerCharacter,
                         scales[c], character);
    if (c + 1 < characters) character[kElementsPerCharacter] = 0;
  }
}

void measure(const double* edges, int characters, double* scales,
             double* widths);
void write(const double* edges, int characters, const double* scales,
           char* counts);

}  // namespace symbol_counts

#endif
