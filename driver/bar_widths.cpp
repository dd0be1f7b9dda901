#include "driver/bar_widths.h"

#include <algorithm>
#include <cstdint>

#include "driver/module_counts.h"

double NormalizeBarsCode39Ext(const double* edges, std::vector<char>& counts,
                              int n, int modules) {
  const double scale = module_counts::scale(edges, n, modules);
  const std::size_t first = counts.size();
  counts.resize(first + std::max(n, 0));
  module_counts::write(edges, n, scale, counts.data() + first);
  return 1.0 / scale;
}

int CheckMeanCode39ExtModuleWidths(const double* widths, int n) {
  double sum = 0.0;
  double sum_of_squares = 0.0;
  for (int i = 0; i < n; ++i) {
    sum += widths[i];
    sum_of_squares += widths[i] * widths[i];
  }
  const double mean = sum / n;
  const double variance = sum_of_squares / n - mean * mean;
  // Written so that a NaN variance fails.
  return variance < 0.25 ? 1 : 0;
}

namespace {

// Sum of the widths of `bars` bars, every other element from edges[first].
double bar_width_sum(const std::vector<double>& edges, int first, int bars) {
  double sum = 0.0;
  for (int j = 0; j < bars; ++j)
    sum += edges[first + 2 * j + 1] - edges[first + 2 * j];
  return sum;
}

// |count| in 32 bits; INT32_MIN, which has no positive counterpart, keeps its
// bit pattern, whose low byte is 0.
std::uint32_t magnitude(std::int32_t count) {
  const auto bits = static_cast<std::uint32_t>(count);
  return count < 0 ? 0u - bits : bits;
}

}  // namespace

void tarnNormalizeBars(const std::vector<double>& edges,
                       std::vector<char>& counts, double& ratio,
                       int windowStart, int windowElements, int windowModules,
                       int windowBars, int windowBarModules) {
  const double total = edges[windowStart + windowElements] - edges[windowStart];
  const double bar_sum = bar_width_sum(edges, windowStart, windowBars);
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
    const double unit_of_element = i % 2 == 0 ? bar_unit : space_unit;
    const std::int32_t count =
        module_counts::rounded((edges[i + 1] - edges[i]) / unit_of_element);
    counts.push_back(module_counts::low_byte(magnitude(count)));
  }
}
