#include "driver/symbol_scan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "driver/bar_widths.h"
#include "driver/module_counts.h"

namespace {

constexpr int kElementsPerCharacter = 9;
constexpr int kModulesPerCharacter = 12;

// Each character's scale and module width, as NormalizeBarsCode39Ext finds
// them.
template <class Edges>
void measure(Edges edges, int characters, double* scales, double* widths) {
  for (int c = 0; c < characters; ++c) {
    scales[c] =
        module_counts::scale(edges + c * kEdgesPerCharacter,
                             kElementsPerCharacter, kModulesPerCharacter);
    widths[c] = 1.0 / scales[c];
  }
}

template <class Edges>
void write_character_counts(Edges edges, double scale, char* counts) {
  module_counts::write(edges, kElementsPerCharacter, scale, counts);
}

#if defined(__SSE2__)
// In scan order, two characters at a time: one division gives their scales,
// another their widths.
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

// In scan order, the first eight counts go two at a time; a character with
// a count the cast cannot take goes through the scalar rule whole.
void write_character_counts(const double* edges, double scale, char* counts) {
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
#endif

// Each character's nine counts, then its gap, which reads as narrow whatever
// its width.
template <class Edges>
void write_counts(Edges edges, int characters, const double* scales,
                  element_list& elements) {
  elements.size = characters * kEdgesPerCharacter - 1;
  for (int c = 0; c < characters; ++c) {
    char* counts = elements.counts.data() + c * kEdgesPerCharacter;
    write_character_counts(edges + c * kEdgesPerCharacter, scales[c], counts);
    if (c + 1 < characters) counts[kElementsPerCharacter] = 0;
  }
}

// The bytes of a word in reverse order; compilers make this one instruction.
std::uint64_t reversed_bytes(std::uint64_t word) {
  word = (word & 0x00FF00FF00FF00FF) << 8 | (word >> 8 & 0x00FF00FF00FF00FF);
  word = (word & 0x0000FFFF0000FFFF) << 16 | (word >> 16 & 0x0000FFFF0000FFFF);
  return word << 32 | word >> 32;
}

// std::reverse, eight counts at a time from both ends.
void reverse_counts(char* counts, std::size_t size) {
  char* front = counts;
  char* back = counts + size;
  constexpr std::size_t kWord = sizeof(std::uint64_t);
  while (back - front >= static_cast<std::ptrdiff_t>(2 * kWord)) {
    back -= kWord;
    std::uint64_t head;
    std::uint64_t tail;
    std::memcpy(&head, front, kWord);
    std::memcpy(&tail, back, kWord);
    head = reversed_bytes(head);
    tail = reversed_bytes(tail);
    std::memcpy(front, &tail, kWord);
    std::memcpy(back, &head, kWord);
    front += kWord;
  }
  std::reverse(front, back);
}

}  // namespace

symbol_scan::symbol_scan(const double* edges, int characters)
    : edges_(edges), characters_(characters) {
  measure(edges_, characters_, scales_.data(), widths_.data());
  some_scale_infinite_ =
      std::any_of(scales_.begin(), scales_.begin() + characters_,
                  [](double scale) { return std::isinf(scale); });
}

bool symbol_scan::widths_agree() const {
  return CheckMeanCode39ExtModuleWidths(widths_.data(), characters_ - 1) == 1;
}

// Reversed, every width (of an element or a whole character) changes sign
// exactly, so each scale does and each count stays the same: the reversed
// list is the scan-order list backwards. Only a zero total width escapes
// that, as x - x is +0 both ways; its infinite scale sends the whole reading
// through the reversed edges instead.
void symbol_scan::reverse() {
  reversed_ = true;
  if (some_scale_infinite_) {
    measure(
        std::make_reverse_iterator(edges_ + characters_ * kEdgesPerCharacter),
        characters_, scales_.data(), widths_.data());
    return;
  }
  for (int front = 0, back = characters_ - 1; front <= back; ++front, --back) {
    const double front_scale = scales_[front];
    const double front_width = widths_[front];
    scales_[front] = -scales_[back];
    widths_[front] = -widths_[back];
    scales_[back] = -front_scale;
    widths_[back] = -front_width;
  }
}

void symbol_scan::write_elements(element_list& elements) {
  if (!reversed_) {
    write_counts(edges_, characters_, scales_.data(), elements);
    scan_order_written_ = true;
  } else if (scan_order_written_ && !some_scale_infinite_) {
    reverse_counts(elements.counts.data(), elements.size);
  } else {
    write_counts(
        std::make_reverse_iterator(edges_ + characters_ * kEdgesPerCharacter),
        characters_, scales_.data(), elements);
  }
}
