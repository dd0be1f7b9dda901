// One decode call: from the host's edge positions to a filed candidate.
#include <algorithm>
#include <array>
#include <iterator>
#include <vector>

#include "driver/bar_widths.h"
#include "driver/decode_clock.h"
#include "driver/module_counts.h"
#include "grammar/parser.h"
#include "grammar/token_stream.h"
#include "plugin/tarn_code39ext.h"
#include "text/checksum.h"

namespace {

constexpr int kEdgesPerCharacter = 10;
constexpr int kElementsPerCharacter = 9;
constexpr int kModulesPerCharacter = 12;
// Size of the module-width table: the start character, at most 98 inner
// characters and the stop character.
constexpr int kMaxCharacters = 100;

// Characters (start, k >= 1 inner, stop) of a list of 20 + 10k edges; 0 for
// any other length, and for symbols longer than the module-width table.
int symbol_characters(std::size_t edge_count) {
  const bool whole_symbol = edge_count % kEdgesPerCharacter == 0 &&
                            edge_count >= 3 * kEdgesPerCharacter &&
                            edge_count <= kMaxCharacters * kEdgesPerCharacter;
  return whole_symbol ? static_cast<int>(edge_count / kEdgesPerCharacter) : 0;
}

// Parses the symbol whose edges `edges` yields in reading order. The element
// list is built, and the parser run, only when the module widths agree.
template <class Edges>
bool parse_attempt(Edges edges, int characters, std::vector<char>& elements) {
  std::array<double, kMaxCharacters> scales;
  std::array<double, kMaxCharacters> module_widths;
  for (int c = 0; c < characters; ++c) {
    scales[c] =
        module_counts::scale(edges + c * kEdgesPerCharacter,
                             kElementsPerCharacter, kModulesPerCharacter);
    module_widths[c] = 1.0 / scales[c];
  }
  // The last character in reading order stays out of the check.
  if (CheckMeanCode39ExtModuleWidths(module_widths.data(), characters - 1) !=
      1) {
    return false;
  }

  // Each character's nine counts, then its gap, which reads as narrow
  // whatever its width: the zero that assign leaves behind.
  elements.assign(characters * kEdgesPerCharacter - 1, 0);
  for (int c = 0; c < characters; ++c) {
    module_counts::write(edges + c * kEdgesPerCharacter, kElementsPerCharacter,
                         scales[c], elements.data() + c * kEdgesPerCharacter);
  }
  setup_lexer(elements);
  return yyparse() == 0;
}

// Forward, then on failure backward. The host's edges cannot change during
// the attempts, so both read them in place.
bool parse_symbol(const std::vector<double>& edges, std::vector<char>& elements,
                  bool& reversed) {
  const int characters = symbol_characters(edges.size());
  if (characters == 0) return false;
  if (parse_attempt(edges.data(), characters, elements)) return true;
  reversed = true;
  return parse_attempt(std::make_reverse_iterator(edges.data() + edges.size()),
                       characters, elements);
}

tarn_candidate_result make_candidate(std::vector<char>& elements, bool reversed,
                                     TARN_CHECKSUMFLAGS flags) {
  tarn_candidate_result candidate;
  candidate.decode_time = tarnldGetClock();
  candidate.bar_thicknesses = std::move(elements);
  candidate.check_char = decoded.second;
  candidate.text = do_checksum(decoded.first, candidate.check_char, flags);
  candidate.reversed = reversed && !candidate.text.empty();
  return candidate;
}

// The lowest of the eight grade values; a pass scores 4, a fail 0.
int scan_grade(const tarn_result& result) {
  const auto score = [](bool passed) { return passed ? 4 : 0; };
  return std::min({score(result.passed_1), score(result.passed_2),
                   score(result.passed_3), result.grade_1, result.grade_2,
                   result.grade_3, result.grade_4, score(result.decode_ok)});
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

  std::vector<char> elements;
  bool reversed = false;
  result.decode_ok = parse_symbol(result.edges, elements, reversed);
  if (!result.decode_ok) return false;

  if (on_decoded) on_decoded(result);
  const tarn_candidate_result candidate =
      make_candidate(elements, reversed, flags);
  if (on_decoded) result.overall_grade = scan_grade(result);
  // The host may have refused the symbol in on_decoded.
  if (result.decode_ok) result.candidates["Code39 Extended"] = candidate;
  return result.decode_ok;
}
