#include "find/edge_finder.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace {

// The local dark and light levels of an edge are the darkest and lightest
// extremes this many extremes to either side, about one character.
constexpr std::size_t level_reach = 8;
// The line's dark and light levels are these percentiles of its values: a
// small symbol on a long line of paper is a few percent of it.
constexpr double dark_share = 0.01;
constexpr double light_share = 0.95;
// A first look measures the levels on every second to fourth sample of a
// long line, at least this many.
constexpr std::size_t glance_level_samples = 64;
constexpr std::size_t max_glance_stride = 4;

using extreme = edge_finder::extreme;

// Percentiles of every `stride`-th value of the line, to within 1/256 of
// their range, from a histogram: the line's dark and light levels.
std::pair<float, float> dark_and_light(const profile& line,
                                       std::size_t stride) {
  constexpr int bins = 256;
  float low = line[0], high = line[0];
  for (std::size_t i = 0; i < line.size(); i += stride) {
    low = std::min(low, line[i]);
    high = std::max(high, line[i]);
  }
  const float range = high - low;
  if (range <= 0) return {low, low};
  int counts[bins] = {};
  const float scale = (bins - 1) / range;
  for (std::size_t i = 0; i < line.size(); i += stride)
    ++counts[static_cast<int>((line[i] - low) * scale)];
  // The first bin by which `share` of the values are counted: the dark
  // level counted up from the darkest, the light one down from the lightest.
  const std::size_t size = (line.size() + stride - 1) / stride;
  const auto wanted = [&](double share) {
    return static_cast<long>(share * (size - 1)) + 1;
  };
  const auto level = [&](int bin) {
    return low + (static_cast<float>(bin) + 0.5f) / scale;
  };
  long seen = 0;
  int dark = 0;
  while ((seen += counts[dark]) < wanted(dark_share)) ++dark;
  const long above = static_cast<long>(size) - wanted(light_share);
  seen = 0;
  int light = bins - 1;
  while (seen + counts[light] <= above) seen += counts[light--];
  return {level(dark), level(light)};
}

// From `i`, the maximum (`maximum`) or minimum that the profile leaves the
// other way by more than `swing`; whether it does. `i` ends where it turned.
template <bool maximum>
bool follow(const float* values, std::size_t size, float swing, std::size_t& i,
            extreme& best) {
  best = {i, values[i]};
  for (++i; i < size; ++i) {
    const float value = values[i];
    if (maximum ? value < best.value - swing : value > best.value + swing)
      return true;
    // Without a branch, which noise would make unpredictable.
    const bool beyond = maximum ? value > best.value : value < best.value;
    best.index = beyond ? i : best.index;
    best.value = beyond ? value : best.value;
  }
  return false;
}

// Alternating maxima and minima, first and last a maximum, each differing
// from its neighbours by more than `swing`.
void alternating_extremes(const profile& line, float swing,
                          std::vector<extreme>& extremes) {
  extremes.clear();
  const float* values = line.data();
  const std::size_t size = line.size();
  std::size_t i = 0;
  extreme best;
  for (;;) {
    const bool turned = follow<true>(values, size, swing, i, best);
    extremes.push_back(best);
    if (!turned || !follow<false>(values, size, swing, i, best)) return;
    extremes.push_back(best);
  }
}

// The threshold of an edge between extremes valued `a` and `b`: halfway
// between the local dark and light levels, which places the edges of
// full-contrast elements without the bias of blur. A narrow element that blur
// keeps from crossing that level gets the level halfway between its own two
// extremes.
float edge_level(float a, float b, float dark, float light) {
  const auto [low, high] = std::minmax(a, b);
  const float middle = (dark + light) / 2;
  return middle > low && middle < high ? middle : (low + high) / 2;
}

// Where the profile crosses `level` between two neighbouring extremes. Noise
// may cross it more than once; the first and last crossings are averaged.
double crossing(const profile& line, const extreme& from, const extreme& to,
                float level) {
  const bool falling = from.value > to.value;
  // Sample i + 1 is the first past `level`, sample i not.
  const auto at = [&](std::size_t i) {
    const float above = line[i] - level;
    return static_cast<double>(i) + above / (above - (line[i + 1] - level));
  };
  const auto crosses = [&](std::size_t i) {
    return falling ? (line[i] >= level) & (line[i + 1] < level)
                   : (line[i] <= level) & (line[i + 1] > level);
  };
  // The first and last i that cross, in one pass without early exits,
  // whose ends noise would make unpredictable. Levels halfway between two
  // neighbouring floats may equal one of them: then nothing crosses.
  std::size_t first = to.index, last = to.index;
  for (std::size_t i = to.index; i-- > from.index;) {
    const bool crossed = crosses(i);
    last = crossed & (last == to.index) ? i : last;
    first = crossed ? i : first;
  }
  if (first == to.index) return -1.0;
  return (at(first) + at(last)) / 2;
}

}  // namespace

std::vector<double> find_edges(const profile& line, float noise_share) {
  edge_finder finder;
  return finder.find(line, noise_share);
}

const std::vector<double>& edge_finder::find(const profile& line,
                                             float noise_share) {
  min_edges_ = 0;
  if (!measure(line, 1)) return edges_;
  return place_edges(noise_share * contrast_);
}

const std::vector<double>& edge_finder::glance(const profile& line,
                                               float noise_share,
                                               float min_swing,
                                               std::size_t min_edges) {
  min_edges_ = min_edges;
  const std::size_t stride = std::clamp<std::size_t>(
      line.size() / glance_level_samples, 1, max_glance_stride);
  if (!measure(line, stride)) return edges_;
  return place_edges(std::max(noise_share * contrast_, min_swing));
}

const std::vector<double>& edge_finder::find_again(float noise_share) {
  if (contrast_ < min_line_contrast) {
    edges_.clear();
    changed_ = false;
    return edges_;
  }
  return place_edges(noise_share * contrast_);
}

bool edge_finder::measure(const profile& line, std::size_t stride) {
  edges_.clear();
  extremes_.clear();
  contrast_ = 0.0f;
  if (line.empty()) return false;
  const auto [dark, light] = dark_and_light(line, stride);
  if (light - dark < min_line_contrast) return false;
  contrast_ = light - dark;

  // One sample on each side, as light as the lightest near that end, closes
  // bars that touch the ends.
  const std::size_t near_end = std::min(line.size(), 3 + line.size() / 16);
  padded_.clear();
  padded_.push_back(*std::max_element(line.begin(), line.begin() + near_end));
  padded_.insert(padded_.end(), line.begin(), line.end());
  padded_.push_back(*std::max_element(line.end() - near_end, line.end()));
  return true;
}

const std::vector<double>& edge_finder::place_edges(float swing) {
  previous_.swap(extremes_);
  alternating_extremes(padded_, swing, extremes_);
  // The same extremes place the same edges.
  const auto same = [](const extreme& a, const extreme& b) {
    return a.index == b.index;
  };
  changed_ =
      edges_.empty() || !std::equal(extremes_.begin(), extremes_.end(),
                                    previous_.begin(), previous_.end(), same);
  if (!changed_) return edges_;
  edges_.clear();
  if (extremes_.size() < min_edges_ + 1) return edges_;
  // The local levels of the edge between extremes i and i + 1 are the
  // darkest and lightest extremes from i - level_reach to i + 1 +
  // level_reach.
  const std::size_t count = extremes_.size();
  for (std::size_t i = 0; i + 1 < count; ++i) {
    const std::size_t first = i - std::min(i, level_reach);
    const std::size_t last = std::min(count - 1, i + 1 + level_reach);
    float dark = extremes_[first].value, light = dark;
    for (std::size_t k = first + 1; k <= last; ++k) {
      dark = std::min(dark, extremes_[k].value);
      light = std::max(light, extremes_[k].value);
    }
    const float level =
        edge_level(extremes_[i].value, extremes_[i + 1].value, dark, light);
    // Padded sample j is the centre of pixel j - 1, at j - 0.5.
    edges_.push_back(crossing(padded_, extremes_[i], extremes_[i + 1], level) -
                     0.5);
  }
  return edges_;
}

float edge_finder::damped_share() const {
  if (extremes_.size() < 2) return 0.0f;
  std::size_t damped = 0;
  for (std::size_t i = 0; i + 1 < extremes_.size(); ++i)
    if (std::fabs(extremes_[i].value - extremes_[i + 1].value) < contrast_ / 2)
      ++damped;
  return static_cast<float>(damped) / (extremes_.size() - 1);
}
