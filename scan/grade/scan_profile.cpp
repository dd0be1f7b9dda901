#include "grade/scan_profile.h"

#include <algorithm>

namespace {

// The deepest dip of an element's samples below the lower of the highest
// samples before and after it; `sign` -1 turns a bar's bumps into dips. The
// slopes down to the edges are no dips, since nothing rises beyond them.
float deepest_dip(const std::vector<float>& samples, const profile_element& e,
                  float sign) {
  std::vector<float> peak_after(e.last - e.first + 1);
  float peak = -2.0f;
  for (std::size_t i = e.last + 1; i-- > e.first;)
    peak_after[i - e.first] = peak = std::max(peak, sign * samples[i]);
  float peak_before = -2.0f, dip = 0.0f;
  for (std::size_t i = e.first; i <= e.last; ++i) {
    const float value = sign * samples[i];
    peak_before = std::max(peak_before, value);
    dip = std::max(dip, std::min(peak_before, peak_after[i - e.first]) - value);
  }
  return dip;
}

std::vector<profile_element> cut_elements(const std::vector<float>& samples,
                                          float threshold) {
  std::vector<profile_element> elements;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const bool bar = samples[i] < threshold;
    if (elements.empty() || elements.back().bar != bar)
      elements.push_back({i, i, bar, samples[i], 0.0f});
    profile_element& e = elements.back();
    e.last = i;
    e.reflectance = bar ? std::min(e.reflectance, samples[i])
                        : std::max(e.reflectance, samples[i]);
  }
  for (profile_element& e : elements)
    e.non_uniformity = deepest_dip(samples, e, e.bar ? -1.0f : 1.0f);
  return elements;
}

// Where the profile crosses the threshold between two samples, interpolated.
double crossing(const std::vector<float>& samples, std::size_t before,
                float threshold) {
  const float a = samples[before], b = samples[before + 1];
  return static_cast<double>(before) + (threshold - a) / (b - a);
}

}  // namespace

profile_measures measure_profile(const std::vector<float>& samples) {
  profile_measures m;
  if (samples.empty()) return m;
  const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
  m.rmin = *low;
  m.rmax = *high;
  m.symbol_contrast = m.rmax - m.rmin;
  m.global_threshold = (m.rmax + m.rmin) / 2;
  m.elements = cut_elements(samples, m.global_threshold);
  m.edge_contrast_min = m.symbol_contrast;
  for (std::size_t i = 0; i < m.elements.size(); ++i) {
    const profile_element& e = m.elements[i];
    if (e.non_uniformity > m.ern_max) {
      m.ern_max = e.non_uniformity;
      m.ern_element = i;
    }
    if (i + 1 == m.elements.size()) break;
    m.edges.push_back(crossing(samples, e.last, m.global_threshold));
    const float contrast =
        std::abs(e.reflectance - m.elements[i + 1].reflectance);
    if (contrast < m.edge_contrast_min) {
      m.edge_contrast_min = contrast;
      m.ecmin_element = i;
    }
  }
  const std::size_t n = m.edges.size();
  m.edges_determined = m.elements.size() > 2 && !m.elements.front().bar &&
                       !m.elements.back().bar && n >= 30 && (n - 20) % 10 == 0;
  return m;
}

std::vector<double> symbol_widths(const profile_measures& measures) {
  std::vector<double> widths;
  for (std::size_t i = 0; i + 1 < measures.edges.size(); ++i)
    widths.push_back(measures.edges[i + 1] - measures.edges[i]);
  return widths;
}
