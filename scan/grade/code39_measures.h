// What Code 39's two widths allow to be measured on one profile's elements:
// the decodability of the reference decode, and the symbology's own checks.
#ifndef TARN_HOST_CODE39_MEASURES_H
#define TARN_HOST_CODE39_MEASURES_H

#include <vector>

#include "tarn/scan.h"

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

using tarn::code39_checks;

// Zero when the widths hold no whole character.
code39_checks check_code39(const element_widths& widths);

#endif
