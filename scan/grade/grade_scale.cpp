#include "grade/grade_scale.h"

#include <array>

namespace {

// The least value that earns grade 4, 3, 2 and 1; for defects, where less is
// better, the most.
struct grade_steps {
  std::array<double, 4> steps;
  bool less_is_better;
};

constexpr grade_steps steps_of[] = {
    {{0.70, 0.55, 0.40, 0.20}, false},  // symbol contrast SC
    {{0.70, 0.60, 0.50, 0.40}, false},  // modulation ECmin / SC
    {{0.15, 0.20, 0.25, 0.30}, true},   // defects ERNmax / SC
    {{0.62, 0.50, 0.37, 0.25}, false},  // decodability V
};

// The least mean grade of A, B, C and D.
constexpr std::array<double, 4> letter_steps = {3.5, 2.5, 1.5, 0.5};

}  // namespace

int grade_of(graded parameter, double value) {
  const grade_steps& g = steps_of[static_cast<int>(parameter)];
  for (int i = 0; i < 4; ++i)
    if (g.less_is_better ? value <= g.steps[i] : value >= g.steps[i])
      return 4 - i;
  return 0;
}

namespace tarn {

char grade_letter(double grade) {
  for (int i = 0; i < 4; ++i)
    if (grade >= letter_steps[i]) return "ABCD"[i];
  return 'F';
}

}  // namespace tarn
