// Edge files: text, one scan line per line, its edge positions separated by
// whitespace; '#' starts a comment that runs to the end of the line. Lines
// without positions are skipped.
#ifndef TARN_HOST_EDGE_FILE_READER_H
#define TARN_HOST_EDGE_FILE_READER_H

#include <vector>

// Throws input_error naming the line of the first bad number, or when the
// bytes are not text at all.
std::vector<std::vector<double>> read_edge_file(
    const std::vector<unsigned char>& bytes);

#endif
