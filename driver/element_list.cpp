#include "driver/element_list.h"

#include <iterator>

namespace {

constexpr int stride = code39_edges_per_character;

template <class Edges>
bool read_list(Edges symbol, int characters, element_list& elements) {
  std::array<double, max_characters> scales;
  std::array<double, max_characters> widths;
  for (int c = 0; c < characters; ++c) {
    scales[c] = module_scale(symbol + c * stride, code39_elements_per_character,
                             code39_modules_per_character);
    widths[c] = 1.0 / scales[c];
  }
  if (!widths_agree(widths.data(), characters - 1)) return false;

  char* counts = elements.counts.data();
  for (int c = 0; c < characters; ++c) {
    write_counts(symbol + c * stride, code39_elements_per_character, scales[c],
                 counts + c * stride);
    // A gap reads as narrow, whatever its width.
    if (c + 1 < characters) counts[c * stride + stride - 1] = 0;
  }
  elements.size = characters * stride - 1;
  return true;
}

}  // namespace

bool read_element_list(const double* edges, int characters, bool backward,
                       element_list& elements) {
  if (!backward) return read_list(edges, characters, elements);
  return read_list(std::make_reverse_iterator(edges + characters * stride),
                   characters, elements);
}
