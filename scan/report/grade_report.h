// The print quality grade of one symbol, as a line of text for people or a
// JSON object for programs.
#ifndef TARN_HOST_GRADE_REPORT_H
#define TARN_HOST_GRADE_REPORT_H

#include <string>

#include "grade/symbol_grade.h"

// `grade 2.8 (B) weakest MOD 2.1 | parameters | Code 39 checks`, what a
// report line says of a graded symbol after its text.
std::string grade_text(const symbol_grade& grade);

// The value of a symbol object's "grade" member: the grade, each parameter's
// mean value and grade, the profiles' own, and Code 39's checks.
std::string grade_json(const symbol_grade& grade);

#endif
