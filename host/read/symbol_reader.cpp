#include "read/symbol_reader.h"

std::optional<symbol_read> symbol_reader::read(
    std::vector<double> edges) const {
  tarn_result result;
  result.edges = std::move(edges);
  try {
    if (!decoder_.decode(result, flags_, nullptr, 0, nullptr)) return {};
  } catch (...) {
    return {};
  }
  const auto filed = result.candidates.find("Code39 Extended");
  if (filed == result.candidates.end()) return {};
  const tarn_candidate_result& candidate = filed->second;
  return symbol_read{candidate.text, candidate.check_char, candidate.reversed,
                     candidate.decode_time};
}
