#include "read/symbol_reader.h"

#include "read/printed_character.h"

namespace {

// Gaps are filed as 0 and span one module.
int module_count(const std::vector<char>& counts) {
  int modules = 0;
  for (char count : counts) modules += count > 0 ? count : 1;
  return modules;
}

}  // namespace

std::optional<symbol_read> symbol_reader::read(std::vector<double> edges,
                                               printed_symbol* printed) const {
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
  if (printed)
    *printed = {last_data_character(candidate.bar_thicknesses),
                printed_characters(candidate.bar_thicknesses),
                module_count(candidate.bar_thicknesses)};
  return symbol_read{candidate.text, candidate.check_char, candidate.reversed,
                     candidate.decode_time};
}
