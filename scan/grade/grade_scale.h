// The ISO/IEC 15416 grade scale: 4 (A) best to 0 (F), the graded
// parameters' steps and the letters of a symbol's mean grade.
#ifndef TARN_HOST_GRADE_SCALE_H
#define TARN_HOST_GRADE_SCALE_H

#include "tarn/scan.h"

enum class graded { symbol_contrast, modulation, defects, decodability };

// The grade of a graded parameter's value.
int grade_of(graded parameter, double value);

using tarn::grade_letter;  // A, B, C, D or F for a mean grade

#endif
