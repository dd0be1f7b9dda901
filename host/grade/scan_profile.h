// One scan reflectance profile and what ISO/IEC 15416 measures on it: the
// extremes, the global threshold, the elements it cuts the profile into, and
// their edge contrasts and non-uniformities. Quiet zones count as spaces.
#ifndef TARN_HOST_SCAN_PROFILE_H
#define TARN_HOST_SCAN_PROFILE_H

#include <cstddef>
#include <vector>

// A run of samples on one side of the global threshold.
struct profile_element {
  std::size_t first = 0;  // sample indices, both included
  std::size_t last = 0;
  bool bar = false;
  float reflectance = 0;     // a space's highest sample, a bar's lowest
  float non_uniformity = 0;  // ERN: its deepest dip from the peaks around it
};

struct profile_measures {
  float rmin = 0;
  float rmax = 0;
  float symbol_contrast = 0;   // SC = Rmax - Rmin
  float global_threshold = 0;  // GT = (Rmax + Rmin) / 2
  std::vector<profile_element> elements;
  std::vector<double> edges;  // GT crossings in samples; edge i ends element i
  float edge_contrast_min = 0;    // ECmin
  std::size_t ecmin_element = 0;  // ECmin is between it and the next
  float ern_max = 0;
  std::size_t ern_element = 0;
  // A symbol of 20 + 10k edges between two quiet zones.
  bool edges_determined = false;
};

profile_measures measure_profile(const std::vector<float>& samples);

// Widths of the symbol's elements, first bar to last bar, in samples.
std::vector<double> symbol_widths(const profile_measures& measures);

#endif
