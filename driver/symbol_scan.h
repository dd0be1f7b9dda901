// One symbol's edge list as the parser needs it: the module widths of its
// characters, checked for agreement, and its element list, read in scan order
// and then, if need be, in reverse.
#ifndef TARN_SYMBOL_SCAN_H
#define TARN_SYMBOL_SCAN_H

#include <array>
#include <cstddef>
#include <iterator>

#include "driver/symbol_counts.h"

// Size of the module-width table: the start character, at most 98 inner
// characters and the stop character.
inline constexpr int kMaxCharacters = 100;

// Nine module counts per character and a 0 for each inter-character gap.
struct element_list {
  std::array<char, kMaxCharacters * symbol_counts::kEdgesPerCharacter - 1>
      counts;
  std::size_t size = 0;
};

class symbol_scan {
 public:
  // The 10 * characters edges of a symbol, 3 <= characters <= kMaxCharacters,
  // read in scan order.
  symbol_scan(const double* edges, int characters);

  // Whether the module widths agree, all but the last character's in reading
  // order, as CheckMeanCode39ExtModuleWidths judges them.
  bool widths_agree() const;
  // The element list in reading order.
  void write_elements(element_list& elements);
  // From now on, reads the edges in reverse.
  void reverse();

 private:
  std::reverse_iterator<const double*> reversed_edges() const;

  const double* edges_;
  int characters_;
  bool reversed_ = false;
  bool some_scale_infinite_ = false;
  // `elements` already holds the list in scan order.
  bool scan_order_written_ = false;
  // Modules per length unit and module width of each character, in reading
  // order.
  std::array<double, kMaxCharacters> scales_;
  std::array<double, kMaxCharacters> widths_;
};

#endif
