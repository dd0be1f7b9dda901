// A one-line count of the files scanned so far, kept up to date on standard
// error while many files are scanned and standard error is a terminal.
#ifndef TARN_HOST_PROGRESS_LINE_H
#define TARN_HOST_PROGRESS_LINE_H

#include <cstddef>
#include <string>

class progress_line {
 public:
  explicit progress_line(std::size_t total_files);

  void show(std::size_t done, const std::string& file);
  // Before other output on standard error, and at the end.
  void clear();

 private:
  bool shown_;
  std::size_t total_;
};

#endif
