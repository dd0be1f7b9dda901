// The decoder's operations. A decode call reads the symbol through the
// driver, lets the host grade the scan and files the candidate.
#include "tarn_code39ext.h"

#include <algorithm>

#include "driver/decode_clock.h"
#include "driver/decode_driver.h"
#include "grammar/parser.h"
#include "text/checksum.h"

namespace {

// The key under which the candidate is filed.
const char* const symbology_name = "Code39 Extended";

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

  element_list elements;
  bool reversed = false;
  result.decode_ok = read_symbol(result.edges, elements, reversed);
  if (!result.decode_ok) return false;

  if (on_decoded) on_decoded(result);
  // The candidate is made now, from `decoded` as the callback left it.
  const double decode_time = tarnldGetClock();
  const std::size_t text_length =
      reported_length(decoded.first, decoded.second, flags);
  if (on_decoded) result.overall_grade = scan_grade(result);
  // The host may have refused the symbol in on_decoded.
  if (!result.decode_ok) return false;

  // Member by member, in the order in which copying a whole record assigns
  // them; the strings and the list keep their capacity.
  tarn_candidate_result& filed = result.candidates[symbology_name];
  filed.text.assign(decoded.first, 0, text_length);
  filed.check_char = decoded.second;
  filed.confidence = 1.0;
  filed.decode_time = decode_time;
  filed.bar_thicknesses.assign(elements.counts.data(),
                               elements.counts.data() + elements.size);
  filed.reversed = reversed && text_length > 0;
  return true;
}

std::string tarn_code39ext::getversion() const { return TARN_VERSION; }
