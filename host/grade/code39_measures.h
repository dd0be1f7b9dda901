// What Code 39's two widths allow to be measured on one profile's elements:
// the decodability of the reference decode, and the symbology's own checks.
#ifndef TARN_HOST_CODE39_MEASURES_H
#define TARN_HOST_CODE39_MEASURES_H

#include <vector>

// Widths of a symbol's elements, first bar to last bar: nine per character,
// with one inter-character gap after every character but the last.
using element_widths = std::vector<double>;

// Decodability V, 0 to 1: the share of the reference decode's margin left
// in the most deviant element. Per character the reference decode calls an
// element wide when it is wider than the threshold RT midway between the
// mean width of the character's six narrow elements and of its three wide
// ones; the margin is RT - (largest narrow) and (smallest wide) - RT, and the
// nominal margin, which a perfectly printed character keeps, (W - N) / 2.
double code39_decodability(const element_widths& widths);

struct code39_checks {
  double narrow = 0;             // mean narrow element, the measured X
  double wide_narrow_ratio = 0;  // mean wide / mean narrow, 2.0 to 3.0
  double widest_gap = 0;         // widest inter-character gap, in X
};

// Zero when the widths hold no whole character.
code39_checks check_code39(const element_widths& widths);

#endif
