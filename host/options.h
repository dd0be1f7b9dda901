// The scanner's command line.
#ifndef TARN_HOST_OPTIONS_H
#define TARN_HOST_OPTIONS_H

#include <stdexcept>
#include <string>
#include <vector>

#include "tarn_interface.h"

struct usage_error : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct scan_options {
  TARN_CHECKSUMFLAGS checksum = TARN_CHECKSUM_NONE;
  std::string plugin_path;  // empty: the plug-in installed beside the program
  bool json = false;
  unsigned jobs = 1;  // files scanned at once; parse_options: one per core
  // --grade: print quality after ISO/IEC 15416, estimated from the image.
  bool grade = false;
  double aperture = 0;      // 0: 0.8 X; else in X, or in mils when dpi is set
  double dpi = 0;           // 0: resolution unknown
  bool linear = false;      // pixel values are linear reflectance
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
