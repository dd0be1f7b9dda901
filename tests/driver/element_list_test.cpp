// The element list that a decode call hands to the parser: whichever way the
// edges are read, it is each character's counts as NormalizeBarsCode39Ext
// gives them for that reading, with a 0 for each gap.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "code39_encoder.h"
#include "driver/bar_widths.h"
#include "grammar/token_stream.h"
#include "plugin/tarn_code39ext.h"

namespace {

std::vector<char> element_list(const std::vector<double>& edges) {
  std::vector<char> counts;
  for (std::size_t first = 0; first + 10 <= edges.size(); first += 10) {
    if (first > 0) counts.push_back(0);
    NormalizeBarsCode39Ext(edges.data() + first, counts, 9, 12);
  }
  return counts;
}

std::vector<double> reversed(std::vector<double> edges) {
  std::reverse(edges.begin(), edges.end());
  return edges;
}

std::vector<double> with_edge(std::vector<double> edges, std::size_t index,
                              double position) {
  edges[index] = position;
  return edges;
}

// "*A*" with a module width of 0.05: the widths agree even with one of them
// 0.
const std::vector<double> kSmallStarAStar = [] {
  code39::print p;
  p.narrow = 0.05;
  return code39::symbol_edges("A", p);
}();

TEST(ElementList, IsEachCharactersCountsInTheOrderOfTheLastParse) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    std::vector<double> edges;
    bool read_reversed;  // the forward parse fails, the reverse one runs
  } cases[] = {
      {"scan order", kSmallStarAStar, false},
      {"opposite order", reversed(kSmallStarAStar), true},
      {"twenty characters, opposite order",
       reversed(code39::symbol_edges("HARDENING TEST 12345")), true},
      // The widths agree both ways, but the "A" spans no width at all: its
      // counts change with the direction of reading (reversed, x - x is +0
      // where x - y was +0 too), so the forward list does not simply turn
      // around.
      {"a character of zero total width",
       with_edge(kSmallStarAStar, 19, kSmallStarAStar[10]), true},
      {"a character of zero total width, opposite order",
       reversed(with_edge(kSmallStarAStar, 19, kSmallStarAStar[10])), true},
      // The stop character's first two elements, 3e9 modules wide and
      // narrow, count as the 32-bit limits: 0xFF, which ends the input, and
      // 0.
      {"elements beyond the 32-bit range",
       with_edge(kSmallStarAStar, 21, kSmallStarAStar[21] + 1.5e8), true},
      {"elements beyond the 32-bit range, opposite order",
       reversed(with_edge(kSmallStarAStar, 21, kSmallStarAStar[21] + 1.5e8)),
       true},
      // NaN in the stop character fails the forward width check at once, so
      // the reverse attempt makes the list on its own.
      {"NaN in the first character read",
       reversed(with_edge(kSmallStarAStar, 23, nan)), true},
  };
  const tarn_code39ext decoder;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tarn_result result;
    result.edges = c.edges;
    decoder.decode(result, TARN_CHECKSUM_NONE, nullptr, 0, nullptr);
    EXPECT_EQ(_bar_thicknesses,
              element_list(c.read_reversed ? reversed(c.edges) : c.edges));
  }
}

}  // namespace
