#include "driver/symbol_scan.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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

// Each character's nine counts, then its gap, which reads as narrow whatever
// its width.
template <class Edges>
void write_counts(Edges edges, int characters, const double* scales,
                  element_list& elements) {
  elements.size = characters * kEdgesPerCharacter - 1;
  for (int c = 0; c < characters; ++c) {
    char* counts = elements.counts.data() + c * kEdgesPerCharacter;
    module_counts::write(edges + c * kEdgesPerCharacter, kElementsPerCharacter,
                         scales[c], counts);
    if (c + 1 < characters) counts[kElementsPerCharacter] = 0;
  }
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
  std::reverse(scales_.begin(), scales_.begin() + characters_);
  std::reverse(widths_.begin(), widths_.begin() + characters_);
  for (int c = 0; c < characters_; ++c) {
    scales_[c] = -scales_[c];
    widths_[c] = -widths_[c];
  }
}

void symbol_scan::write_elements(element_list& elements) {
  if (!reversed_) {
    write_counts(edges_, characters_, scales_.data(), elements);
    scan_order_written_ = true;
  } else if (scan_order_written_ && !some_scale_infinite_) {
    std::reverse(elements.counts.begin(),
                 elements.counts.begin() + elements.size);
  } else {
    write_counts(
        std::make_reverse_iterator(edges_ + characters_ * kEdgesPerCharacter),
        characters_, scales_.data(), elements);
  }
}
