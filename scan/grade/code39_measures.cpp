#include "grade/code39_measures.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <numeric>

namespace {

constexpr std::size_t elements_per_character = 9;
constexpr std::size_t wide_per_character = 3;
constexpr std::size_t characters_step = elements_per_character + 1;  // + gap

// A character's nine widths, narrowest first.
using character_widths = std::array<double, elements_per_character>;

std::vector<character_widths> characters(const element_widths& widths) {
  std::vector<character_widths> result;
  for (std::size_t first = 0; first + elements_per_character <= widths.size();
       first += characters_step) {
    character_widths c;
    std::copy_n(widths.begin() + static_cast<std::ptrdiff_t>(first),
                elements_per_character, c.begin());
    std::sort(c.begin(), c.end());
    result.push_back(c);
  }
  return result;
}

constexpr std::size_t narrow_count =
    elements_per_character - wide_per_character;

double narrow_sum(const character_widths& c) {
  return std::accumulate(c.begin(), c.begin() + narrow_count, 0.0);
}
double wide_sum(const character_widths& c) {
  return std::accumulate(c.begin() + narrow_count, c.end(), 0.0);
}

}  // namespace

double code39_decodability(const element_widths& widths) {
  const std::vector<character_widths> all = characters(widths);
  if (all.empty()) return 0.0;
  double worst = 1.0;
  for (const character_widths& c : all) {
    const double narrow = narrow_sum(c) / narrow_count;
    const double wide = wide_sum(c) / wide_per_character;
    const double threshold = (narrow + wide) / 2;
    const double nominal_margin = (wide - narrow) / 2;
    const double margin =
        std::min(threshold - c[narrow_count - 1], c[narrow_count] - threshold);
    worst = std::min(worst, nominal_margin > 0 ? margin / nominal_margin : 0.0);
  }
  return std::max(worst, 0.0);
}

code39_checks check_code39(const element_widths& widths) {
  const std::vector<character_widths> all = characters(widths);
  code39_checks checks;
  if (all.empty()) return checks;
  double narrow = 0, wide = 0;
  for (const character_widths& c : all) {
    narrow += narrow_sum(c);
    wide += wide_sum(c);
  }
  checks.narrow = narrow / (narrow_count * all.size());
  checks.wide_narrow_ratio =
      wide / (wide_per_character * all.size()) / checks.narrow;
  for (std::size_t gap = elements_per_character; gap < widths.size();
       gap += characters_step)
    checks.widest_gap =
        std::max(checks.widest_gap, widths[gap] / checks.narrow);
  return checks;
}
