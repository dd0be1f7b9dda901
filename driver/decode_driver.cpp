#include "driver/decode_driver.h"

#include "grammar/parser.h"
#include "grammar/token_stream.h"

namespace {

// Characters (start, k >= 1 inner, stop) of a list of 20 + 10k edges; 0 for
// any other length, and for symbols longer than max_characters.
int symbol_characters(std::size_t edge_count) {
  constexpr std::size_t stride = code39_edges_per_character;
  const bool whole_symbol = edge_count % stride == 0 &&
                            edge_count >= 3 * stride &&
                            edge_count <= max_characters * stride;
  return whole_symbol ? static_cast<int>(edge_count / stride) : 0;
}

bool parse(const element_list& elements) {
  load_token_stream(elements.counts.data(), elements.size);
  return yyparse() == 0;
}

}  // namespace

// The parser runs only on a list whose module widths agree. A parse in scan
// order that cannot get past the start character is skipped where the
// backward one follows, as that one replaces all the first would leave.
bool read_symbol(const std::vector<double>& edges, element_list& elements,
                 bool& reversed) {
  const int characters = symbol_characters(edges.size());
  if (characters == 0) return false;
  const symbol_widths widths(edges.data(), characters);
  const bool starts_in_scan_order = widths.starts_with_start_character();
  if (!starts_in_scan_order && widths.agree(true)) {
    reversed = true;
    widths.write_backward(elements);
    return parse(elements);
  }
  const bool scan_order_agrees = widths.agree(false);
  if (scan_order_agrees) {
    widths.write(elements);
    if (parse(elements)) return true;
  }
  // Without the start character the backward widths are known to disagree.
  if (!starts_in_scan_order || !widths.agree(true)) return false;
  if (scan_order_agrees) {
    widths.turn_around(elements);
  } else {
    widths.write_backward(elements);
  }
  // Read backward, the start character in scan order would be the last
  // character, with P's pattern: this attempt never reads, but it leaves the
  // parser's globals as a host sees them.
  parse(elements);
  return false;
}
