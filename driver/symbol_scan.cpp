#include "driver/symbol_scan.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

#include "driver/bar_widths.h"
#include "driver/symbol_counts.h"

namespace {

using symbol_counts::kEdgesPerCharacter;

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
  symbol_counts::measure(edges_, characters_, scales_.data(), widths_.data());
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
    symbol_counts::measure(reversed_edges(), characters_, scales_.data(),
                           widths_.data());
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
  elements.size = characters_ * kEdgesPerCharacter - 1;
  char* counts = elements.counts.data();
  if (!reversed_) {
    symbol_counts::write(edges_, characters_, scales_.data(), counts);
    scan_order_written_ = true;
  } else if (scan_order_written_ && !some_scale_infinite_) {
    reverse_counts(counts, elements.size);
  } else {
    symbol_counts::write(reversed_edges(), characters_, scales_.data(), counts);
  }
}

std::reverse_iterator<const double*> symbol_scan::reversed_edges() const {
  return std::make_reverse_iterator(edges_ + characters_ * kEdgesPerCharacter);
}
