#include "driver/element_list.h"

#include <algorithm>
#include <iterator>

#include "grammar/parser.h"

namespace {

constexpr int stride = code39_edges_per_character;

}  // namespace

symbol_widths::symbol_widths(const double* edges, int characters)
    : edges_(edges), characters_(characters) {
  for (int c = 0; c < characters_; ++c) {
    scales_[c] =
        module_scale(edges_ + c * stride, code39_elements_per_character,
                     code39_modules_per_character);
    widths_[c] = 1.0 / scales_[c];
  }
}

// Backward, the widths change sign, which their variance does not see.
bool symbol_widths::agree(bool backward) const {
  const int read_before_last = characters_ - 1;
  if (!backward) return widths_agree(widths_.data(), read_before_last);
  return widths_agree(std::make_reverse_iterator(widths_.data() + characters_),
                      read_before_last);
}

bool symbol_widths::starts_with_start_character() const {
  std::array<char, code39_elements_per_character> counts;
  write_counts(edges_, code39_elements_per_character, scales_[0],
               counts.data());
  return reads_as_start_character(counts.data());
}

void symbol_widths::write(element_list& elements) const {
  char* counts = elements.counts.data();
  for (int c = 0; c < characters_; ++c) {
    write_counts(edges_ + c * stride, code39_elements_per_character, scales_[c],
                 counts + c * stride);
  }
  close_gaps(elements);
}

void symbol_widths::write_backward(element_list& elements) const {
  char* counts = elements.counts.data();
  for (int c = 0; c < characters_; ++c) {
    write_character_backward(characters_ - 1 - c, counts + c * stride);
  }
  close_gaps(elements);
}

// A gap reads as narrow, whatever its width.
void symbol_widths::close_gaps(element_list& elements) const {
  elements.size = characters_ * stride - 1;
  char* const end = elements.counts.data() + elements.size;
  for (char* gap = elements.counts.data() + stride - 1; gap != end;
       gap += stride) {
    *gap = 0;
  }
}

void symbol_widths::turn_around(element_list& elements) const {
  char* counts = elements.counts.data();
  std::reverse(counts, counts + elements.size);
  for (int c = 0; c < characters_; ++c) {
    if (std::isinf(scales_[c])) {
      write_character_backward(c, counts + (characters_ - 1 - c) * stride);
    }
  }
}

void symbol_widths::write_character_backward(int c, char* out) const {
  const auto edges = std::make_reverse_iterator(edges_ + (c + 1) * stride);
  const double scale = std::isinf(scales_[c])
                           ? module_scale(edges, code39_elements_per_character,
                                          code39_modules_per_character)
                           : -scales_[c];
  write_counts(edges, code39_elements_per_character, scale, out);
}
