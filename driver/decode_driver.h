// One symbol from the host's edges: the element list and the parse, in scan
// order and, if that fails, in reverse.
#ifndef TARN_DECODE_DRIVER_H
#define TARN_DECODE_DRIVER_H

#include <vector>

#include "driver/element_list.h"

// Whether the edges, 20 + 10k of them (k >= 1, at most max_characters
// characters), read as a symbol, leaving its text in `decoded`. `elements`
// is the list that was parsed last; `reversed` tells whether the reverse
// attempt ran. The host's edges are read in place.
bool read_symbol(const std::vector<double>& edges, element_list& elements,
                 bool& reversed);

#endif
