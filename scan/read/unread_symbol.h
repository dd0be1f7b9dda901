// Symbol-like areas that read nothing: runs of parallel bars of Code 39's two
// widths where the search crossed dense edges it could not decode. A
// verifier reports such a label as unreadable, grade F, not as nothing.
#ifndef TARN_HOST_UNREAD_SYMBOL_H
#define TARN_HOST_UNREAD_SYMBOL_H

#include <optional>
#include <vector>

#include "read/found_symbol.h"
#include "read/line_reader.h"

// Whether the widths between `edges[first]` and `edges[last]` look like Code
// 39: at least three characters of nine elements and a gap, most of them
// with three elements clearly wider than the other six.
bool code39_like(const std::vector<double>& edges, std::size_t first,
                 std::size_t last);

// The outline of the bars around the spot, when they look like Code 39 over
// several parallel lines: located, with no text.
std::optional<found_symbol> outline_unread(const grey_view& image,
                                           const dense_spot& spot);

#endif
