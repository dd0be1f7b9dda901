// A picture of each graded symbol's scan reflectance profiles as SVG: the
// worst profile drawn bold over the others, reflectance against position in
// modules, with Rmax, Rmin, the global threshold, the element edges, the
// worst element's ERN, the ECmin pair and the parameter grades.
#ifndef TARN_HOST_PROFILE_SVG_H
#define TARN_HOST_PROFILE_SVG_H

#include <string>
#include <vector>

#include "tarn/scan.h"

struct svg_panel {
  std::string title;
  tarn::symbol_grade grade;  // located, with profiles
};

// One panel per symbol, stacked.
std::string profile_svg(const std::vector<svg_panel>& panels);

#endif
