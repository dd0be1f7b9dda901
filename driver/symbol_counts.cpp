#include "driver/symbol_counts.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace symbol_counts {

#if defined(__SSE2__)
namespace {

// Two elements' quotients plus 0.5, formed as the scalar rule forms them.
__m128d shifted_pair(const double* edges, __m128d scale) {
  const __m128d widths =
      _mm_sub_pd(_mm_loadu_pd(edges + 1), _mm_loadu_pd(edges));
  return _mm_add_pd(_mm_mul_pd(widths, scale), _mm_set1_pd(0.5));
}

// Where the scalar rule would truncate: |shifted| < 2^31, false for NaN.
__m128d truncates(__m128d shifted) {
  const __m128d magnitude = _mm_andnot_pd(_mm_set1_pd(-0.0), shifted);
  return _mm_cmplt_pd(magnitude, _mm_set1_pd(2147483648.0));
}

// The low bytes of four 32-bit counts, two from each pair.
__m128i low_bytes(__m128d first, __m128d second) {
  const __m128i counts =
      _mm_unpacklo_epi64(_mm_cvttpd_epi32(first), _mm_cvttpd_epi32(second));
  return _mm_and_si128(counts, _mm_set1_epi32(0xFF));
}

// The first eight counts go two at a time; a character with a count the
// cast cannot take goes through the scalar rule whole.
void write_character(const double* edges, double scale, char* counts) {
  const __m128d scales = _mm_set1_pd(scale);
  const __m128d s01 = shifted_pair(edges, scales);
  const __m128d s23 = shifted_pair(edges + 2, scales);
  const __m128d s45 = shifted_pair(edges + 4, scales);
  const __m128d s67 = shifted_pair(edges + 6, scales);
  const __m128d all_truncate =
      _mm_and_pd(_mm_and_pd(truncates(s01), truncates(s23)),
                 _mm_and_pd(truncates(s45), truncates(s67)));
  if (_mm_movemask_pd(all_truncate) != 0b11) {
    module_counts::write(edges, kElementsPerCharacter, scale, counts);
    return;
  }
  // Bytes 0 to 255 pass both saturating packs unchanged.
  const __m128i words =
      _mm_packs_epi32(low_bytes(s01, s23), low_bytes(s45, s67));
  _mm_storel_epi64(reinterpret_cast<__m128i*>(counts),
                   _mm_packus_epi16(words, words));
  module_counts::write(edges + 8, 1, scale, counts + 8);
}

}  // namespace

// Two characters at a time: one division gives their scales, another their
// widths.
void measure(const double* edges, int characters, double* scales,
             double* widths) {
  int c = 0;
  for (; c + 1 < characters; c += 2) {
    const double* first = edges + c * kEdgesPerCharacter;
    const double* second = first + kEdgesPerCharacter;
    const __m128d totals = _mm_sub_pd(
        _mm_set_pd(second[kElementsPerCharacter], first[kElementsPerCharacter]),
        _mm_set_pd(second[0], first[0]));
    const __m128d pair_scales =
        _mm_div_pd(_mm_set1_pd(kModulesPerCharacter), totals);
    _mm_storeu_pd(scales + c, pair_scales);
    _mm_storeu_pd(widths + c, _mm_div_pd(_mm_set1_pd(1.0), pair_scales));
  }
  if (c < characters) {
    measure<const double*>(edges + c * kEdgesPerCharacter, 1, scales + c,
                           widths + c);
  }
}

void write(const double* edges, int characters, const double* scales,
           char* counts) {
  for (int c = 0; c < characters; ++c) {
    char* character = counts + c * kEdgesPerCharacter;
    write_character(edges + c * kEdgesPerCharacter, scales[c], character);
    if (c + 1 < characters) character[kElementsPerCharacter] = 0;
  }
}

#else

void measure(const double* edges, int characters, double* scales,
             double* widths) {
  measure<const double*>(edges, characters, scales, widths);
}

void write(const double* edges, int characters, const double* scales,
           char* counts) {
  write<const double*>(edges, characters, scales, counts);
}

#endif

}  // namespace symbol_counts
