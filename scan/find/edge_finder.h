// Bar and space edges along a reflectance profile, at sub-pixel precision.
//
// The profile is followed from one significant extreme to the next (a change
// smaller than a share of the line's contrast is noise, not an element), and
// each edge is placed where the profile crosses a threshold halfway between
// the local dark and light levels, or, for a narrow element that blur keeps
// from reaching that threshold, halfway between the element's own extreme and
// its neighbour's.
#ifndef TARN_HOST_EDGE_FINDER_H
#define TARN_HOST_EDGE_FINDER_H

#include <cstddef>
#include <vector>

#include "find/scan_lines.h"

// Lines whose light and dark levels differ less than this hold no symbol.
constexpr float min_line_contrast = 0.05f;

// `noise_share` is the share of the line's contrast below which a swing is
// noise, not an element.
//
// Positions in pixels, pixel i spanning [i, i + 1). Beyond both ends the line
// counts as light, so the edges come in pairs, each pair one bar: a leading
// light-to-dark edge and its trailing edge. A line without enough contrast
// has none.
std::vector<double> find_edges(const profile& line, float noise_share);

// The same, keeping its buffers from line to line.
class edge_finder {
 public:
  struct extreme {
    std::size_t index;
    float value;
  };

  // Returns edges(), which stays valid until the next call.
  const std::vector<double>& find(const profile& line, float noise_share);
  // A first look: swings must also exceed `min_swing` (the page's noise) to
  // be elements, lines of fewer than `min_edges` edges have none, and a long
  // line's levels are measured on a sample of its values.
  const std::vector<double>& glance(const profile& line, float noise_share,
                                    float min_swing, std::size_t min_edges);
  // The last profile again with another threshold: its levels are kept.
  const std::vector<double>& find_again(float noise_share);
  const std::vector<double>& edges() const { return edges_; }
  // The share of the last extremes' neighbouring pairs that differ by less
  // than half the line's contrast: narrow elements that blur has flattened.
  // A sharp line, a symbol's or text's, has few.
  float damped_share() const;
  // Whether the last find_again() found other edges than the find before.
  bool changed() const { return changed_; }

 private:
  // The line's levels (every `stride`-th value) and padded copy; whether it
  // has the contrast of a symbol.
  bool measure(const profile& line, std::size_t stride);
  const std::vector<double>& place_edges(float swing);

  profile padded_;
  float contrast_ = 0.0f;
  std::size_t min_edges_ = 0;
  std::vector<extreme> extremes_, previous_;
  bool changed_ = true;
  std::vector<double> edges_;
};

#endif
