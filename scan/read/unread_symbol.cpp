#include "read/unread_symbol.h"

#include <algorithm>
#include <cmath>

#include "find/edge_finder.h"
#include "find/symbol_cutter.h"

namespace {

constexpr double pi = 3.14159265358979323846;
// The edge finder's noise threshold for the lines across the area.
constexpr float noise_share = 0.1f;
// Each character is nine elements, three of them clearly wider than the
// other six, and a gap; most characters of the run must show that.
constexpr std::size_t elements_per_character = 9;
constexpr std::size_t wide_per_character = 3;
constexpr double min_wide_ratio = 1.5;
constexpr double min_character_share = 0.75;
constexpr std::size_t min_characters = 3;
// Lines across the area, this share of its length apart, belong to it while
// their run's ends lie within a share of its length (plus a few pixels) of
// the first line's; the walk stops after a few that do not.
constexpr double step_share = 1.0 / 40;
constexpr double end_tolerance = 0.1;
constexpr double end_tolerance_pixels = 3.0;
constexpr int max_misses = 2;
constexpr int max_lines_per_side = 200;
constexpr int min_lines = 3;

double distance(point a, point b) { return std::hypot(a.x - b.x, a.y - b.y); }

struct run_ends {
  double first;  // positions along the line, in pixels from its origin
  double last;
  std::vector<double> widths;
};

// The Code 39-like run of edges across `line` that covers `position`.
std::optional<run_ends> run_at(const grey_view& image, const scan_line& line,
                               double position) {
  profile values;
  sample_line(image, line, values);
  const std::vector<double> edges = find_edges(values, noise_share);
  std::vector<edge_run> stretches;
  dense_stretches(edges, stretches);
  for (const edge_run& s : stretches)
    if (edges[s.first] <= position && edges[s.last] >= position &&
        code39_like(edges, s.first, s.last)) {
      run_ends run{edges[s.first], edges[s.last], {}};
      for (std::size_t i = s.first; i < s.last; ++i)
        run.widths.push_back(edges[i + 1] - edges[i]);
      return run;
    }
  return std::nullopt;
}

// The narrow module: a low rank of the widths, below every wide element.
double narrow_module(std::vector<double> widths) {
  constexpr double narrow_rank = 0.3;
  const auto rank = static_cast<std::ptrdiff_t>(narrow_rank * widths.size());
  std::nth_element(widths.begin(), widths.begin() + rank, widths.end());
  return widths[static_cast<std::size_t>(rank)];
}

}  // namespace

bool code39_like(const std::vector<double>& edges, std::size_t first,
                 std::size_t last) {
  const std::size_t elements = last > first ? last - first : 0;
  const std::size_t characters = (elements + 1) / (elements_per_character + 1);
  if (characters < min_characters) return false;
  std::size_t shaped = 0;
  for (std::size_t c = 0; c < characters; ++c) {
    double widths[elements_per_character];
    for (std::size_t k = 0; k < elements_per_character; ++k) {
      const std::size_t i = first + c * (elements_per_character + 1) + k;
      widths[k] = std::fabs(edges[i + 1] - edges[i]);
    }
    std::sort(std::begin(widths), std::end(widths));
    const double widest_narrow =
        widths[elements_per_character - wide_per_character - 1];
    if (widths[elements_per_character - wide_per_character] >
        min_wide_ratio * widest_narrow)
      ++shaped;
  }
  return shaped >= min_character_share * static_cast<double>(characters);
}

std::optional<found_symbol> outline_unread(const grey_view& image,
                                           const dense_spot& spot) {
  point along = unit_vector(bars_across(image, spot));
  if (along.x < 0 || (along.x == 0 && along.y > 0)) along = -1.0 * along;
  const point up{along.y, -along.x};
  const double half = std::max(spot.extent, 30.0);
  const auto line_at = [&](double height) {
    return clip_around(image, spot.centre + height * up, along, half);
  };
  const scan_line middle = line_at(0);
  if (middle.length == 0) return std::nullopt;
  const double centre = dot(spot.centre - middle.origin, along) + 0.5;
  const auto first = run_at(image, middle, centre);
  if (!first) return std::nullopt;
  const point start = middle.at(first->first), stop = middle.at(first->last);
  const double length = first->last - first->first;
  const double tolerance = end_tolerance * length + end_tolerance_pixels;
  const double step = std::max(1.0, step_share * length);

  // The heights, from the middle line, of the outermost lines that cross
  // the same run.
  double reach[2] = {0, 0};
  int lines = 1;
  for (int side : {1, -1}) {
    int misses = 0;
    for (int k = 1; k <= max_lines_per_side && misses < max_misses; ++k) {
      const double height = side * k * step;
      const scan_line line = line_at(height);
      const point shift = height * up;
      const auto run =
          line.length > 0
              ? run_at(image, line,
                       dot(spot.centre + shift - line.origin, along) + 0.5)
              : std::nullopt;
      const bool same =
          run && distance(line.at(run->first), start + shift) <= tolerance &&
          distance(line.at(run->last), stop + shift) <= tolerance;
      if (!same) {
        ++misses;
        continue;
      }
      misses = 0;
      ++lines;
      reach[side > 0 ? 0 : 1] = height;
    }
  }
  if (lines < min_lines) return std::nullopt;

  found_symbol symbol;
  symbol.located = true;
  symbol.corners = {start + reach[0] * up, stop + reach[0] * up,
                    stop + reach[1] * up, start + reach[1] * up};
  double angle = std::atan2(-along.y, along.x) * 180 / pi;
  if (angle <= 0) angle += 360;  // -0 too
  if (angle >= 360) angle -= 360;
  symbol.angle = angle;
  symbol.module_size = narrow_module(first->widths);
  symbol.lines_tried = lines;
  return symbol;
}
