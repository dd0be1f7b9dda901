// One scan reflectance profile and what ISO/IEC 15416 measures on it: the
// extremes, the global threshold, the elements it cuts the profile into, and
// their edge contrasts and non-uniformities. Quiet zones count as spaces.
#ifndef TARN_HOST_SCAN_PROFILE_H
#define TARN_HOST_SCAN_PROFILE_H

#include <vector>

#include "tarn/scan.h"

using tarn::profile_element;
using tarn::profile_measures;

profile_measures measure_profile(const std::vector<float>& samples);

// Widths of the symbol's elements, first bar to last bar, in samples.
std::vector<double> symbol_widths(const profile_measures& measures);

#endif
