// Settles one symbol from a first reading of it: reads it along lines
// parallel to its own axis across its whole height, turns the axis until it
// is square to the bars, lets those lines vote, and outlines the bars.
#ifndef TARN_HOST_SYMBOL_LOCATOR_H
#define TARN_HOST_SYMBOL_LOCATOR_H

#include <optional>
#include <utility>
#include <vector>

#include "read/found_symbol.h"
#include "read/line_reader.h"

// The rectangle of a located symbol in its own frame, to tell whether a point
// belongs to it.
struct symbol_area {
  point origin;  // the start character's leading edge, at height 0
  point along;   // reading direction
  point up;      // towards the symbol's top
  double length = 0.0;
  double bottom = 0.0;  // heights of the outline, from origin along `up`
  double top = 0.0;

  bool contains(point p, double margin) const;
  // The samples of `line` (first, last; empty when first > last) that lie
  // within `margin` of the area.
  std::pair<int, int> samples_on(const scan_line& line, double margin) const;
};

// The area within a located symbol's corners.
symbol_area area_of(const found_symbol& symbol);

struct located_symbol {
  found_symbol symbol;
  symbol_area area;
};

// Whether `other` is more of `symbol`: the same text at the same angle and
// place along the axis, with the start bar dark all the way between them
// (lines that fail across the middle of a symbol split it in two).
bool same_symbol(const grey_view& image, const located_symbol& symbol,
                 const located_symbol& other);

// `symbol` grown to take in `other`, its lines added.
void merge_symbol(located_symbol& symbol, const located_symbol& other);

// The symbol that `seed` read, if lines across it agree on its text.
std::optional<located_symbol> locate_symbol(line_reader& lines,
                                            const grey_view& image,
                                            const line_read& seed);

#endif
