// One decode call: from the host's edge positions to a filed candidate.
#include <algorithm>
#include <vector>

#include "driver/decode_clock.h"
#include "driver/symbol_scan.h"
#include "grammar/parser.h"
#include "grammar/token_stream.h"
#include "plugin/tarn_code39ext.h"
#include "text/checksum.h"

namespace {

using symbol_counts::kEdgesPerCharacter;

// Characters (start, k >= 1 inner, stop) of a list of 20 + 10k edges; 0 for
// any other length, and for symbols longer than the module-width table.
int symbol_characters(std::size_t edge_count) {
  const bool whole_symbol = edge_count % kEdgesPerCharacter == 0 &&
                            edge_count >= 3 * kEdgesPerCharacter &&
                            edge_count <= kMaxCharacters * kEdgesPerCharacter;
  return whole_symbol ? static_cast<int>(edge_count / kEdgesPerCharacter) : 0;
}

// The element list is built, and the parser run, only when the module widths
// agree.
bool parse_attempt(symbol_scan& symbol, element_list& elements) {
  if (!symbol.widths_agree()) return false;
  symbol.write_elements(elements);
  load_token_stream(elements.counts.data(), elements.size);
  return yyparse() == 0;
}

// Forward, then on failure backward. The host's edges cannot change during
// the attempts, so both read them in place.
bool parse_symbol(const std::vector<double>& edges, element_list& elements,
                  bool& reversed) {
  const int characters = symbol_characters(edges.size());
  if (characters == 0) return false;
  symbol_scan symbol(edges.data(), characters);
  if (parse_attempt(symbol, elements)) return true;
  reversed = true;
  symbol.reverse();
  return parse_attempt(symbol, elements);
}

// The lowest of the eight grade values; a pass scores 4, a fail 0.
int scan_grade(const tarn_result& result) {
  const auto score = [](bool passed) { return passed ? 4 : 0; };
  return std::min({score(result.passed_1), score(result.passed_2),
                   score(result.passed_3), result.grade_1, result.grade_2,
                   result.grade_3, result.grade_4, score(result.decode_ok)});
}

// What a candidate record is made of, short of its strings, which are
// copied from `decoded` straight into the filed record.
struct candidate_parts {
  double decode_time;
  std::size_t text_length;  // of decoded.first, as do_checksum reports it
  const element_list& elements;
  bool reversed;
};

// Assigns the candidate to `filed` member by member, in the order in which
// copying a whole record assigns them.
void file_candidate(tarn_candidate_result& filed,
                    const candidate_parts& candidate) {
  filed.text.assign(decoded.first, 0, candidate.text_length);
  filed.check_char = decoded.second;
  filed.confidence = 1.0;
  filed.decode_time = candidate.decode_time;
  const element_list& elements = candidate.elements;
  filed.bar_thicknesses.assign(elements.counts.data(),
                               elements.counts.data() + elements.size);
  filed.reversed = candidate.reversed && candidate.text_length > 0;
}

}  // namespace

bool tarn_code39ext::decode(tarn_result& result, TARN_CHECKSUMFLAGS flags,
                            tarn_fill_edges_callback fill_edges, int edge_arg,
                            tarn_decoded_callback on_decoded) const {
  tarnldResetClock();
  if (result.edges.empty()) {
    if (!fill_edges) return false;
    fill_edges(result, edge_arg);
  }

  element_list elements;
  bool reversed = false;
  result.decode_ok = parse_symbol(result.edges, elements, reversed);
  if (!result.decode_ok) return false;

  if (on_decoded) on_decoded(result);
  // The candidate is made now, from `decoded` as the callback left it.
  const candidate_parts candidate = {
      tarnldGetClock(), reported_length(decoded.first, decoded.second, flags),
      elements, reversed};
  if (on_decoded) result.overall_grade = scan_grade(result);
  // The host may have refused the symbol in on_decoded.
  if (result.decode_ok) {
    file_candidate(result.candidates["Code39 Extended"], candidate);
  }
  return result.decode_ok;
}
