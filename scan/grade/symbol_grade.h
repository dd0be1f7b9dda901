// tarn-scan as a Code 39 verifier after ISO/IEC 15416, estimated from an
// image: scan reflectance profiles across the symbol, each decoded through
// the plug-in, whose scan grade combines the parameters that the host's
// on_decoded sets; the symbol grade is the mean of the profile grades. The
// grade's types and summaries are public (tarn/scan.h).
#ifndef TARN_HOST_SYMBOL_GRADE_H
#define TARN_HOST_SYMBOL_GRADE_H

#include "image/image.h"
#include "read/found_symbol.h"
#include "tarn/scan.h"
#include "tarn_interface.h"

using tarn::parameter;
using tarn::parameter_count;
using tarn::parameter_score;
using tarn::profile_grade;
using tarn::symbol_checks;
using tarn::symbol_grade;

struct grade_options {
  TARN_CHECKSUMFLAGS checksum = TARN_CHECKSUM_NONE;  // as the symbol was read
  double aperture = 0.8;  // diameter in X, or in mils when dpi is known
  bool aperture_in_mils = false;
  double dpi = 0;       // 0: resolution unknown
  bool linear = false;  // pixel values are linear reflectance
};

symbol_grade grade_symbol(const decoder_1d_interface& decoder,
                          const grey_view& image, const found_symbol& symbol,
                          const grade_options& options);

#endif
