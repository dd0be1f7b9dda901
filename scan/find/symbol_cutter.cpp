#include "find/symbol_cutter.h"

#include <algorithm>
#include <cmath>

namespace {

// A quiet zone is a space at least this many modules wide, the module being
// judged from the start or stop character beside it. Code 39 asks for ten;
// printed pages often leave three next to text or rules.
constexpr double quiet_zone_modules = 2.0;
// A character spans 12 modules at the usual wide-to-narrow ratio of 2:1.
constexpr double modules_per_character = 12.0;
constexpr std::size_t edges_per_character = 10;
constexpr std::size_t last_in_character = edges_per_character - 1;
constexpr std::size_t min_symbol_edges = 30;
// A wide element of the start/stop character is at least this much wider
// than the narrow ones of its kind.
constexpr double min_wide_ratio = 1.2;
// Inside a dense stretch no space is wider than this many times the mean of
// the elements around it.
constexpr double max_dense_space = 3.0;
constexpr std::size_t dense_reach = 4;

enum class star { none, forward, backward };

double width(const std::vector<double>& edges, std::size_t element) {
  return std::fabs(edges[element + 1] - edges[element]);
}

// Whether `widths` (count of them) have their two (or one) widest at `wide`
// offsets, clearly wider than the rest.
bool widest_at(const double* widths, std::size_t count, std::size_t wide_a,
               std::size_t wide_b) {
  double narrowest_wide = 1e300;
  double widest_narrow = 0.0;
  for (std::size_t k = 0; k < count; ++k) {
    if (k == wide_a || k == wide_b)
      narrowest_wide = std::min(narrowest_wide, widths[k]);
    else
      widest_narrow = std::max(widest_narrow, widths[k]);
  }
  return narrowest_wide > min_wide_ratio * widest_narrow;
}

// The start/stop character `*` (bar-space widths n w n n w n w n n) read
// forward or backward in the nine elements from edge `first`.
star star_at(const std::vector<double>& edges, std::size_t first) {
  double bars[5], spaces[4];
  // The middle bar is wide either way, so clearly wider than the first and
  // the last: most places fail on these three.
  bars[2] = width(edges, first + 4);
  if (!(bars[2] > min_wide_ratio * width(edges, first)) ||
      !(bars[2] > min_wide_ratio * width(edges, first + 8)))
    return star::none;
  for (std::size_t k = 0; k < 5; ++k) bars[k] = width(edges, first + 2 * k);
  const bool forward = widest_at(bars, 5, 2, 3);
  if (!forward && !widest_at(bars, 5, 1, 2)) return star::none;
  for (std::size_t k = 0; k < 4; ++k)
    spaces[k] = width(edges, first + 1 + 2 * k);
  if (forward) return widest_at(spaces, 4, 0, 0) ? star::forward : star::none;
  return widest_at(spaces, 4, 3, 3) ? star::backward : star::none;
}

bool quiet(const std::vector<double>& edges, std::size_t space_first,
           std::size_t character_first) {
  const double character = std::fabs(
      edges[character_first + last_in_character] - edges[character_first]);
  return width(edges, space_first) >=
         quiet_zone_modules * character / modules_per_character;
}

struct end_mark {
  std::size_t edge;
  star kind;
};

// Whether a `*` read the same way stands at a character boundary strictly
// inside the run from edge `first` to `last`: two symbols in a row, not one.
// (Read the other way, `*` has the pattern of the data character P.)
bool star_inside(const end_mark* marks, std::size_t count, std::size_t first,
                 std::size_t last, star kind) {
  for (std::size_t m = 0; m < count; ++m) {
    const std::size_t at = marks[m].edge;
    if (marks[m].kind == kind && at > first &&
        at + edges_per_character <= last &&
        (at - first) % edges_per_character == 0)
      return true;
  }
  return false;
}

}  // namespace

void cut_symbols(const std::vector<double>& edges,
                 std::vector<edge_run>& runs) {
  runs.clear();
  // An odd last edge opens a bar that never closes.
  const std::size_t count = edges.size() - edges.size() % 2;
  if (count < min_symbol_edges) return;
  // At most a handful of `*` per line: fixed-size lists, no allocation.
  constexpr std::size_t max_marks = 64;
  end_mark stars[max_marks];
  end_mark starts[max_marks];
  end_mark ends[max_marks];
  std::size_t star_count = 0;
  std::size_t start_count = 0;
  std::size_t end_count = 0;
  for (std::size_t i = 0; i + edges_per_character <= count; i += 2) {
    const star kind = star_at(edges, i);
    if (kind == star::none) continue;
    if (star_count < max_marks) stars[star_count++] = {i, kind};
    if (start_count < max_marks && (i == 0 || quiet(edges, i - 1, i)))
      starts[start_count++] = {i, kind};
    const std::size_t last = i + last_in_character;
    if (end_count < max_marks && (last + 1 == count || quiet(edges, last, i)))
      ends[end_count++] = {last, kind};
  }
  for (std::size_t s = 0; s < start_count; ++s) {
    for (std::size_t e = 0; e < end_count; ++e) {
      if (ends[e].kind != starts[s].kind || ends[e].edge < starts[s].edge)
        continue;
      const std::size_t length = ends[e].edge + 1 - starts[s].edge;
      if (length < min_symbol_edges || length % edges_per_character != 0 ||
          star_inside(stars, star_count, starts[s].edge, ends[e].edge,
                      starts[s].kind))
        continue;
      runs.push_back({starts[s].edge, ends[e].edge});
      if (runs.size() == max_runs_per_line) return;
    }
  }
}

void dense_stretches(const std::vector<double>& edges,
                     std::vector<edge_run>& stretches) {
  stretches.clear();
  const std::size_t count = edges.size() - edges.size() % 2;
  std::size_t first = 0;
  for (std::size_t i = 1; i < count; i += 2) {
    const bool line_end = i + 1 >= count;
    bool wide_space = false;
    if (!line_end) {
      const std::size_t from = i - std::min(i, 2 * dense_reach);
      const std::size_t to = std::min(count - 1, i + 1 + 2 * dense_reach);
      const double around =
          (std::fabs(edges[to] - edges[from]) - width(edges, i)) /
          static_cast<double>(to - from - 1);
      wide_space = width(edges, i) > max_dense_space * around;
    }
    if (!line_end && !wide_space) continue;
    if (i + 1 - first >= min_dense_edges) stretches.push_back({first, i});
    first = i + 1;
  }
}

void even_characters(const std::vector<double>& edges, const edge_run& run,
                     std::vector<double>& even) {
  even.clear();
  constexpr double character_width = 100.0;  // any fixed width will do
  const auto span = [&](std::size_t character) {
    const std::size_t first = run.first + character * edges_per_character;
    return edges[first + last_in_character] - edges[first];
  };
  const std::size_t characters =
      (run.last + 1 - run.first) / edges_per_character;
  double at = 0.0;
  for (std::size_t c = 0; c < characters; ++c) {
    const std::size_t first = run.first + c * edges_per_character;
    const double scale = character_width / span(c);
    if (c > 0) {
      const double gap = edges[first] - edges[first - 1];
      at += gap * 2 * character_width / (span(c - 1) + span(c));
    }
    for (std::size_t e = first; e <= first + last_in_character; ++e)
      even.push_back(at + (edges[e] - edges[first]) * scale);
    at = even.back();
  }
}

void undo_ink_spread(const std::vector<double>& edges, const edge_run& run,
                     std::vector<double>& thinned) {
  thinned.assign(edges.begin() + static_cast<std::ptrdiff_t>(run.first),
                 edges.begin() + static_cast<std::ptrdiff_t>(run.last) + 1);
  // Bars are elements 0, 2, ...; spaces (gaps too) 1, 3, ...
  std::vector<double> bars, spaces;
  for (std::size_t i = 0; i + 1 < thinned.size(); ++i)
    (i % 2 == 0 ? bars : spaces)
        .push_back(std::fabs(thinned[i + 1] - thinned[i]));
  const auto median = [](std::vector<double>& widths) {
    const auto middle =
        widths.begin() + static_cast<std::ptrdiff_t>(widths.size() / 2);
    std::nth_element(widths.begin(), middle, widths.end());
    return *middle;
  };
  const double spread = (median(bars) - median(spaces)) / 2;
  const double direction = thinned.back() > thinned.front() ? 1.0 : -1.0;
  for (std::size_t i = 0; i < thinned.size(); ++i)
    thinned[i] += (i % 2 == 0 ? 0.5 : -0.5) * spread * direction;
}
