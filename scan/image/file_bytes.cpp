#include "image/file_bytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "image/input_error.h"

namespace {

struct file_closer {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::vector<unsigned char> read_stream(std::FILE* stream) {
  std::vector<unsigned char> bytes;
  unsigned char chunk[65536];
  std::size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0)
    bytes.insert(bytes.end(), chunk, chunk + got);
  if (std::ferror(stream)) throw input_error(std::strerror(errno));
  return bytes;
}

}  // namespace

std::vector<unsigned char> read_file_bytes(const std::string& path) {
  if (path == "-") return read_stream(stdin);
  std::unique_ptr<std::FILE, file_closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw input_error(std::strerror(errno));
  return read_stream(file.get());
}
