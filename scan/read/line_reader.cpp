#include "read/line_reader.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "find/bar_direction.h"

namespace {

// The edge finder's noise thresholds, as shares of a line's contrast, tried
// in turn until the line reads: a high one first, which ignores noise and
// JPEG ringing, then lower ones, which keep the narrow elements that blur has
// flattened.
constexpr float noise_shares[] = {0.25f, 0.1f, 0.04f};

// Unsharp masks tried in turn on a blurred line: a Gaussian blur (sigma in
// pixels), an amount. The blurs' weights are made once in the process.
struct sharpening_step {
  const gaussian_kernel& blur;
  float amount;
};
const std::array<sharpening_step, 3>& sharpening_steps() {
  static const gaussian_kernel two(2.0), two_and_a_half(2.5);
  static const std::array<sharpening_step, 3> steps = {
      {{two, 3.0f}, {two, 5.0f}, {two_and_a_half, 5.0f}}};
  return steps;
}

// Blur about a module flattens the narrow elements, half of a symbol's: a
// line with fewer flattened is sharp (text, a symbol that cannot be read),
// and sharpening finds nothing there.
constexpr float min_damped_share = 0.25f;

}  // namespace

double bars_across(const grey_view& image, const dense_spot& spot) {
  // A few characters either side of the centre show the bars' direction.
  constexpr double reach = 64.0;
  const point along =
      (1.0 / std::sqrt(dot(spot.direction, spot.direction))) * spot.direction;
  return bar_direction(image, spot.centre, along,
                       std::min(reach, spot.extent / 2));
}

int line_reader::read_edges(const scan_line& line,
                            std::vector<line_read>& reads) {
  const std::vector<double>& edges = finder_.edges();
  cut_symbols(edges, runs_);
  cut_any_ = cut_any_ || !runs_.empty();
  int count = 0;
  for (const edge_run& run : runs_) {
    const auto first = edges.begin() + static_cast<std::ptrdiff_t>(run.first);
    const auto last = edges.begin() + static_cast<std::ptrdiff_t>(run.last);
    printed_symbol printed;
    auto read = reader_.read(std::vector<double>(first, last + 1), &printed);
    if (!read) {
      // In perspective the module grows along the symbol, more than the
      // decoder allows between characters.
      even_characters(edges, run, run_edges_);
      read = reader_.read(run_edges_, &printed);
    }
    if (!read) {
      // Ink spread can make narrow bars as wide as wide spaces.
      undo_ink_spread(edges, run, run_edges_);
      read = reader_.read(run_edges_, &printed);
    }
    if (!read) continue;
    point start = line.at(*first);
    point stop = line.at(*last);
    if (read->reversed) std::swap(start, stop);
    reads.push_back({std::move(*read), std::move(printed), start, stop});
    ++count;
  }
  return count;
}

int line_reader::read(const grey_view& image, const scan_line& line,
                      std::vector<line_read>& reads, bool sharpening) {
  sharpened_ = false;
  looked_blurred_ = false;
  cut_any_ = false;
  sample_line(image, line, values_);
  sparse_ = finder_.find(values_, noise_shares[0]).size() < min_dense_edges;
  for (float noise_share : noise_shares) {
    const bool lower = noise_share != noise_shares[0];
    if (lower) finder_.find_again(noise_share);
    // A lower threshold that finds no other edges reads nothing new.
    if (!lower || finder_.changed())
      if (const int count = read_edges(line, reads)) return count;
    // Too few clear edges for a symbol: lower thresholds would find noise.
    if (finder_.edges().size() < min_dense_edges) return 0;
  }
  // A line full of edges (the only kind left here) that reads nothing may
  // be blurred, if enough of its elements are flattened: its wide band,
  // quieter, sharpened.
  looked_blurred_ = finder_.damped_share() >= min_damped_share;
  if (!sharpening || !looked_blurred_) return 0;
  sample_wide_line(image, line, wide_, sharp_);
  const gaussian_kernel* blurred_by = nullptr;
  for (const sharpening_step& step : sharpening_steps()) {
    if (&step.blur != blurred_by)
      gaussian_blur(wide_, *(blurred_by = &step.blur), blurred_);
    sharpen(wide_, blurred_, step.amount, sharp_);
    finder_.find(sharp_, noise_shares[2]);
    if (const int count = read_edges(line, reads)) {
      sharpened_ = true;
      return count;
    }
  }
  return 0;
}

int line_reader::glance(const grey_view& image, const scan_line& line,
                        float min_swing, std::vector<line_read>& reads,
                        std::vector<dense_spot>& spots) {
  sample_line(image, line, values_);
  // Fewer edges make no symbol and no spot.
  const std::vector<double>& edges =
      finder_.glance(values_, noise_shares[0], min_swing, min_dense_edges);
  if (const int count = read_edges(line, reads)) return count;
  dense_stretches(edges, stretches_);
  const double step = std::sqrt(dot(line.direction, line.direction));
  for (const edge_run& stretch : stretches_) {
    const double from = edges[stretch.first];
    const double to = edges[stretch.last];
    spots.push_back({line.at((from + to) / 2), std::fabs(to - from) * step,
                     line.direction});
  }
  return 0;
}
