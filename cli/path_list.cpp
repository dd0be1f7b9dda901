#include "path_list.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include "options.h"

namespace {

std::vector<std::string> lines_of(std::istream& in) {
  std::vector<std::string> paths;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) paths.push_back(std::move(line));
  }
  return paths;
}

}  // namespace

std::vector<std::string> read_path_list(const std::string& file) {
  if (file == "-") return lines_of(std::cin);
  std::ifstream in(file);
  std::vector<std::string> paths;
  if (in) paths = lines_of(in);
  if (!in.eof())
    throw usage_error("--files-from cannot read " + file + ": " +
                      std::strerror(errno));
  return paths;
}
