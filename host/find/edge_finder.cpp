#include "find/edge_finder.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

// Lines whose light and dark levels differ less than this hold no symbol.
constexpr float min_contrast = 0.05f;
// The local dark and light levels of an edge are the darkest and lightest
// extremes this many extremes to either side, about one character.
constexpr std::size_t level_reach = 8;
// The line's dark and light levels are these percentiles of its values: a
// small symbol on a long line of paper is a few percent of it.
constexpr double dark_share = 0.01;
constexpr double light_share = 0.95;

using extreme = edge_finder::extreme;

// Percentiles of the line's values, to within 1/256 of
// their range, from a histogram: the line's dark and light levels.
std::pair<float, float> dark_and_light(const profile& line) {
  constexpr int bins = 256;
  const auto [lowest, highest] = std::minmax_element(line.begin(), line.end());
  const float low = *lowest;
  const float range = *highest - low;
  if (range <= 0) return {low, low};
  int counts[bins] = {};
  const float scale = (bins - 1) / range;
  for (float value : line) ++counts[static_cast<int>((value - low) * scale)];
  const auto level = [&](double share) {
    const auto wanted = static_cast<long>(share * (line.size() - 1)) + 1;
    long seen = 0;
    int bin = 0;
    while ((seen += counts[bin]) < wanted) ++bin;
    return low + (static_cast<float>(bin) + 0.5f) / scale;
  };
  return {level(dark_share), level(light_share)};
}

// Alternating maxima and minima, first and last a maximum, each differing
// from its neighbours by more than `swing`.
void alternating_extremes(const profile& line, float swing,
                          std::vector<extreme>& extremes) {
  extremes.clear();
  extreme candidate{0, line[0]};
  bool seeking_max = true;
  for (std::size_t i = 1; i < line.size(); ++i) {
    const float value = line[i];
    const bool beyond =
        seeking_max ? value > candidate.value : value < candidate.value;
    const bool turned = seeking_max ? value < candidate.value - swing
                                    : value > candidate.value + swing;
    if (beyond) {
      candidate = {i, value};
    } else if (turned) {
      extremes.push_back(candidate);
      candidate = {i, value};
      seeking_max = !seeking_max;
    }
  }
  if (seeking_max) extremes.push_back(candidate);
}

// The threshold of the edge between extremes `i` and `i + 1`: halfway between
// the local dark and light levels, which places the edges of full-contrast
// elements without the bias of blur. A narrow element that blur keeps from
// crossing that level gets the level halfway between its own two extremes.
float edge_level(const std::vector<extreme>& extremes, std::size_t i) {
  const auto [low, high] =
      std::minmax(extremes[i].value, extremes[i + 1].value);
  const std::size_t first = i - std::min(i, level_reach);
  const std::size_t last = std::min(extremes.size() - 1, i + 1 + level_reach);
  float dark = low;
  float light = high;
  for (std::size_t j = first; j <= last; ++j) {
    dark = std::min(dark, extremes[j].value);
    light = std::max(light, extremes[j].value);
  }
  const float middle = (dark + light) / 2;
  return middle > low && middle < high ? middle : (low + high) / 2;
}

// Where the profile crosses `level` between two neighbouring extremes. Noise
// may cross it more than once; the first and last crossings are averaged.
double crossing(const profile& line, const extreme& from, const extreme& to,
                float level) {
  const float sign = from.value > to.value ? 1.0f : -1.0f;  // falling: +1
  double first = -1.0;
  double last = -1.0;
  for (std::size_t i = from.index; i < to.index; ++i) {
    const float above = sign * (line[i] - level);
    const float below = sign * (line[i + 1] - level);
    if (above >= 0 && below < 0) {
      last = static_cast<double>(i) + above / (above - below);
      if (first < 0) first = last;
    }
  }
  return (first + last) / 2;
}

}  // namespace

std::vector<double> find_edges(const profile& line, float noise_share) {
  edge_finder finder;
  return finder.find(line, noise_share);
}

const std::vector<double>& edge_finder::find(const profile& line,
                                             float noise_share,
                                             float min_swing) {
  edges_.clear();
  if (line.empty()) return edges_;
  const auto [dark, light] = dark_and_light(line);
  const float contrast = light - dark;
  if (contrast < min_contrast) return edges_;

  // One sample on each side, as light as the lightest near that end, closes
  // bars that touch the ends.
  const std::size_t near_end = std::min(line.size(), 3 + line.size() / 16);
  padded_.clear();
  padded_.push_back(*std::max_element(line.begin(), line.begin() + near_end));
  padded_.insert(padded_.end(), line.begin(), line.end());
  padded_.push_back(*std::max_element(line.end() - near_end, line.end()));

  alternating_extremes(padded_, std::max(noise_share * contrast, min_swing),
                       extremes_);
  for (std::size_t i = 0; i + 1 < extremes_.size(); ++i) {
    const float level = edge_level(extremes_, i);
    // Padded sample j is the centre of pixel j - 1, at j - 0.5.
    edges_.push_back(crossing(padded_, extremes_[i], extremes_[i + 1], level) -
                     0.5);
  }
  return edges_;
}
