// The paths of --files-from: one a line, for batches longer than a command
// line may be.
#ifndef TARN_HOST_PATH_LIST_H
#define TARN_HOST_PATH_LIST_H

#include <string>
#include <vector>

// The non-empty lines of the file, "-" standard input; a carriage return
// before the line end is dropped. Throws usage_error when it cannot be read.
std::vector<std::string> read_path_list(const std::string& file);

#endif
