// The scanner's command line.
#ifndef TARN_HOST_OPTIONS_H
#define TARN_HOST_OPTIONS_H

#include <stdexcept>
#include <string>
#include <vector>

#include "tarn/scan.h"

struct usage_error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct scan_options {
  std::string plugin_path;  // empty: the plug-in installed beside the program
  bool json = false;
  unsigned jobs = 1;  // files scanned at once; parse_options: one per core
  // Checksum mode and --grade with its settings.
  tarn::read_options reading;
  std::string profile_svg;  // draw the worst profiles here; implies grade
  bool help = false;
  bool version = false;
  std::vector<std::string> inputs;  // "-" is standard input
};

// Throws usage_error for an unknown option, a missing or bad option value, or
// no input when one is needed.
scan_options parse_options(const std::vector<std::string>& arguments);

extern const char* const usage_text;

#endif
