#include "progress_line.h"

#include <unistd.h>

#include <iostream>

namespace {

constexpr std::size_t many_files = 10;
constexpr std::size_t shown_name_length = 40;

}  // namespace

progress_line::progress_line(std::size_t total_files)
    : shown_(total_files >= many_files && isatty(STDERR_FILENO)),
      total_(total_files) {}

void progress_line::show(std::size_t done, const std::string& file) {
  if (!shown_) return;
  std::cerr << "\r\33[Kscanning " << done + 1 << '/' << total_ << ' '
            << file.substr(0, shown_name_length) << std::flush;
}

void progress_line::clear() {
  if (shown_) std::cerr << "\r\33[K" << std::flush;
}
