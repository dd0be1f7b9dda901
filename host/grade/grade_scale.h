// The ISO/IEC 15416 grade scale: 4 (A) best to 0 (F), the graded
// parameters' steps and the letters of a symbol's mean grade.
#ifndef TARN_HOST_GRADE_SCALE_H
#define TARN_HOST_GRADE_SCALE_H

enum class graded { symbol_contrast, modulation, defects, decodability };

// The grade of a graded parameter's value.
int grade_of(graded parameter, double value);

// A, B, C, D or F for a mean grade.
char grade_letter(double grade);

#endif
