// Scans one input, an image or an edge file, for Code 39 Extended symbols.
#ifndef TARN_HOST_SCANNER_H
#define TARN_HOST_SCANNER_H

#include <vector>

#include "image/image.h"
#include "read/found_symbol.h"
#include "read/line_vote.h"
#include "read/symbol_reader.h"

// Every symbol read along one scan line, given by its edges.
std::vector<symbol_read> read_scan_line(const symbol_reader& reader,
                                        const std::vector<double>& edges);

// The single-symbol forms below serve the one-line report until it prints
// every symbol.

// The first symbol that find_symbols reads, as a vote's outcome.
vote_outcome scan_image(const symbol_reader& reader, const grey_image& image);

// Reads each line of an edge file and votes.
vote_outcome scan_edge_lines(const symbol_reader& reader,
                             const std::vector<std::vector<double>>& lines);

// Every symbol on the page, each once, where it stands: in the order found,
// read when lines across it agree (see found_symbol).
std::vector<found_symbol> find_symbols(const symbol_reader& reader,
                                       const grey_image& image);

// The symbols that the lines of an edge file read.
std::vector<found_symbol> read_edge_lines(
    const symbol_reader& reader, const std::vector<std::vector<double>>& lines);

// Every symbol of a PNG or PNM image, else of an edge file. Throws
// input_error when the input cannot be read.
std::vector<found_symbol> read_input(const symbol_reader& reader,
                                     const std::vector<unsigned char>& bytes);

// A PNG or PNM image, else an edge file. Throws input_error when the input
// cannot be read.
vote_outcome scan_input(const symbol_reader& reader,
                        const std::vector<unsigned char>& bytes);

#endif
