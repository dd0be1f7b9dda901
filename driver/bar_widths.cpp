// The exported forms of the element list's rules.
#include "driver/bar_widths.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "driver/element_list.h"

double NormalizeBarsCode39Ext(const double* edges, std::vector<char>& counts,
                              int n, int modules) {
  const double scale = module_scale(edges, n, modules);
  const std::size_t first = counts.size();
  counts.resize(first + std::max(n, 0));
  write_counts(edges, n, scale, counts.data() + first);
  return 1.0 / scale;
}

int CheckMeanCode39ExtModuleWidths(const double* widths, int n) {
  return widths_agree(widths, n) ? 1 : 0;
}

void tarnNormalizeBars(const std::vector<double>& edges,
                       std::vector<char>& counts, double& ratio,
                       int windowStart, int windowElements, int windowModules,
                       int windowBars, int windowBarModules) {
  const double total = edges[windowStart + windowElements] - edges[windowStart];
  double bar_sum = 0.0;
  for (int j = 0; j < windowBars; ++j) {
    bar_sum += edges[windowStart + 2 * j + 1] - edges[windowStart + 2 * j];
  }
  const double space_sum = bar_sum > 0 ? total - bar_sum : 0.0;
  const double unit = total / windowModules;
  const double bar_unit = bar_sum > 0 ? bar_sum / windowBarModules : unit;
  // Subtracted in double: exact, and no int overflow for extreme arguments.
  const double space_modules =
      static_cast<double>(windowModules) - windowBarModules;
  const double space_unit = space_sum > 0 ? space_sum / space_modules : unit;
  ratio = bar_unit / space_unit;

  counts.clear();
  // Bars and spaces alternate from the first edge of the whole scan line.
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    const double element_unit = i % 2 == 0 ? bar_unit : space_unit;
    const std::int32_t count =
        module_count((edges[i + 1] - edges[i]) / element_unit);
    // |count|, in 64 bits: INT32_MIN has no 32-bit counterpart.
    counts.push_back(
        stored_count(static_cast<std::uint32_t>(std::llabs(count))));
  }
}
