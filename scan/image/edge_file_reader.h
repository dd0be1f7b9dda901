// Edge files: text, one scan line per line, its edge positions separated by
// whitespace; '#' starts a comment that runs to the end of the line. Lines
// without positions are skipped. A UTF-8 byte-order mark may open the file.
#ifndef TARN_HOST_EDGE_FILE_READER_H
#define TARN_HOST_EDGE_FILE_READER_H

#include <cstddef>
#include <vector>

#include "image/input_file.h"

// Edge files of real scanners hold some thousands of positions; these keep a
// hostile one to some ten megabytes in memory.
constexpr std::size_t max_edge_positions = 1000000;
constexpr std::size_t max_edge_lines = 100000;

// Throws input_error naming the line of the first bad number, for a file of
// more positions or lines (with positions) than the limits, or
// not_an_input when the file does not begin as an edge file: binary data,
// or text whose first word is no number.
std::vector<std::vector<double>> read_edge_file(input_file& input);

#endif
