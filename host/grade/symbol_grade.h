// tarn-scan as a Code 39 verifier after ISO/IEC 15416, estimated from an
// image: scan reflectance profiles across the symbol, each decoded through
// the plug-in, whose scan grade combines the parameters that the host's
// on_decoded sets; the symbol grade is the mean of the profile grades.
#ifndef TARN_HOST_SYMBOL_GRADE_H
#define TARN_HOST_SYMBOL_GRADE_H

#include <optional>
#include <string>
#include <vector>

#include "grade/code39_measures.h"
#include "grade/scan_profile.h"
#include "image/image.h"
#include "read/found_symbol.h"
#include "tarn_interface.h"

struct grade_options {
  TARN_CHECKSUMFLAGS checksum = TARN_CHECKSUM_NONE;  // as the symbol was read
  double aperture = 0.8;  // diameter in X, or in mils when dpi is known
  bool aperture_in_mils = false;
  double dpi = 0;       // 0: resolution unknown
  bool linear = false;  // pixel values are linear reflectance
};

// The parameters of a profile, in the order of the plug-in's scan grade.
enum class parameter {
  decode,
  minimum_reflectance,  // Rmin <= 0.5 Rmax
  edge_determination,
  minimum_edge_contrast,  // ECmin >= 15 %
  symbol_contrast,
  modulation,
  defects,
  decodability,
};
constexpr int parameter_count = 8;

struct parameter_score {
  double value = 0;  // a share; pass/fail parameters 1 or 0
  double grade = 0;  // 4 to 0; pass 4, fail 0; a mean may be fractional
};

struct profile_grade {
  double band_position = 0;    // 0 top of the bars to 1 bottom
  std::vector<float> samples;  // reflectance
  double first_module = 0;  // the first sample's position, in X from the bars
  double modules_per_sample = 0;
  profile_measures measures;
  code39_checks checks;
  double quiet_zones[2] = {0, 0};  // leading, trailing, in X
  parameter_score scores[parameter_count];
  int grade = 0;  // the plug-in's scan grade
};

struct symbol_grade {
  bool located = false;  // false: no outline, no profiles
  double module_px = 0;
  double aperture_px = 0;
  double dpi = 0;
  std::vector<profile_grade> profiles;
  double grade = 0;  // mean of the profile grades
};

symbol_grade grade_symbol(const decoder_1d_interface& decoder,
                          const grey_image& image, const found_symbol& symbol,
                          const grade_options& options);

const char* parameter_name(parameter p);  // "SC"
const char* parameter_key(parameter p);   // "symbol_contrast"

// The mean over the profiles of one parameter's value and grade.
parameter_score mean_score(const symbol_grade& grade, parameter p);

// The parameter whose mean grade is lowest, the first such in scan-grade
// order; none when every parameter has 4.
std::optional<parameter> weakest_parameter(const symbol_grade& grade);

// The profile with the lowest grade, the first such.
const profile_grade& worst_profile(const symbol_grade& grade);

// Code 39's own checks over the decoded profiles: the mean wide/narrow
// ratio, the widest gap, the narrowest quiet zones.
struct symbol_checks {
  bool measured = false;  // some profile decoded
  double wide_narrow_ratio = 0;
  double widest_gap = 0;
  double quiet_zones[2] = {0, 0};
  bool ratio_ok = false;
  bool quiet_zones_ok = false;
};
symbol_checks code39_symbol_checks(const symbol_grade& grade);

// Modules as millimetres at the grade's resolution; 0 when it is unknown.
double modules_to_mm(const symbol_grade& grade, double modules);

#endif
