// The whole content of an input file, "-" meaning standard input.
#ifndef TARN_HOST_FILE_BYTES_H
#define TARN_HOST_FILE_BYTES_H

#include <string>
#include <vector>

// Throws input_error with the system's reason when the file cannot be read.
std::vector<unsigned char> read_file_bytes(const std::string& path);

#endif
