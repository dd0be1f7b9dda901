#include "find/symbol_cutter.h"

#include <cmath>

namespace {

// A quiet zone is a space at least this many modules wide, the module being
// judged from the character beside it. Code 39 asks for ten; inside a symbol
// no space reaches three.
constexpr double quiet_zone_modules = 4.0;
// A character spans 12 modules at the usual wide-to-narrow ratio of 2:1.
constexpr double modules_per_character = 12.0;
constexpr std::size_t edges_per_character = 10;
constexpr std::size_t last_in_character = edges_per_character - 1;
constexpr std::size_t min_symbol_edges = 30;

double distance(const std::vector<double>& edges, std::size_t from,
                std::size_t to) {
  return std::fabs(edges[to] - edges[from]);
}

bool wide_enough(double space, double character) {
  return space >= quiet_zone_modules * character / modules_per_character;
}

// Leading edge `i` of a bar that follows a quiet zone; `count` edges are used.
bool starts_symbol(const std::vector<double>& edges, std::size_t count,
                   std::size_t i) {
  if (i + edges_per_character > count) return false;
  return i == 0 || wide_enough(distance(edges, i - 1, i),
                               distance(edges, i, i + last_in_character));
}

// Trailing edge `i` of a bar that a quiet zone follows.
bool ends_symbol(const std::vector<double>& edges, std::size_t count,
                 std::size_t i) {
  if (i < last_in_character) return false;
  return i + 1 == count ||
         wide_enough(distance(edges, i, i + 1),
                     distance(edges, i - last_in_character, i));
}

}  // namespace

std::vector<edge_run> cut_symbols(const std::vector<double>& edges) {
  // An odd last edge opens a bar that never closes.
  const std::size_t count = edges.size() - edges.size() % 2;
  std::vector<std::size_t> starts;
  std::vector<std::size_t> ends;
  for (std::size_t i = 0; i < count; i += 2) {
    if (starts_symbol(edges, count, i)) starts.push_back(i);
    if (ends_symbol(edges, count, i + 1)) ends.push_back(i + 1);
  }
  std::vector<edge_run> runs;
  for (std::size_t first : starts) {
    for (std::size_t last : ends) {
      const std::size_t length = last + 1 - first;
      if (last < first || length < min_symbol_edges ||
          length % edges_per_character != 0)
        continue;
      runs.push_back({first, last});
      if (runs.size() == max_runs_per_line) return runs;
    }
  }
  return runs;
}
