// Scans one input, an image or an edge file, for Code 39 Extended symbols.
#ifndef TARN_HOST_SCANNER_H
#define TARN_HOST_SCANNER_H

#include <cstddef>
#include <limits>
#include <vector>

#include "image/image.h"
#include "read/found_symbol.h"
#include "read/symbol_reader.h"

// Every symbol on the page, each once, where it stands: in the order found,
// read when lines across it agree (see found_symbol), dark on light first,
// then light on dark. The search stops once it has `enough` symbols. With
// `unread`, also the outlines of symbol-like areas that read nothing.
std::vector<found_symbol> find_symbols(
    const symbol_reader& reader, const grey_view& image,
    std::size_t enough = std::numeric_limits<std::size_t>::max(),
    std::vector<found_symbol>* unread = nullptr);

// The image with light and dark swapped.
grey_image inverted(const grey_view& image);

// The symbols that the lines of an edge file read.
std::vector<found_symbol> read_edge_lines(
    const symbol_reader& reader, const std::vector<std::vector<double>>& lines);

#endif
