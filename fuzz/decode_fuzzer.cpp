// Whole decode calls on edge lists a host could never mean: any length, NaN,
// infinities, huge, coincident and descending positions, flags outside the
// enumeration, and callbacks that fill the edges or refuse the symbol. Beyond
// not crashing, every call must keep the host contract checked below.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "fuzz/invariant.h"
#include "grammar/parser.h"
#include "plugin/tarn_code39ext.h"

namespace {

constexpr std::size_t kMaxEdges = 3000;

// What the host's callbacks do in one case, and what they saw.
struct host_script {
  std::vector<double> fill;  // edges that fill_edges supplies
  int edge_arg = 0;
  int fill_calls = 0;
  bool refuse = false;  // on_decoded clears decode_ok
  bool passed[3] = {};
  int grades[4] = {};
  int decoded_calls = 0;
};

host_script script;

bool fill_edges(tarn_result& result, int edge_arg) {
  ++script.fill_calls;
  INVARIANT(edge_arg == script.edge_arg);
  result.edges = script.fill;
  return true;
}

void on_decoded(tarn_result& result) {
  ++script.decoded_calls;
  result.passed_1 = script.passed[0];
  result.passed_2 = script.passed[1];
  result.passed_3 = script.passed[2];
  result.grade_1 = script.grades[0];
  result.grade_2 = script.grades[1];
  result.grade_3 = script.grades[2];
  result.grade_4 = script.grades[3];
  if (script.refuse) result.decode_ok = false;
}

// How code bytes turn into positions.
struct edge_scale {
  double unit = 1.0;    // the step of the smallest code
  double origin = 0.0;  // the position before the first edge
  double raw = 0.0;     // any double the input chose
};

// One position per code byte: most codes step forward by a multiple of the
// unit; the top codes produce the positions no scanner should hand over.
double next_position(std::uint8_t code, double previous,
                     const edge_scale& scale) {
  switch (code) {
    case 0xF8:
      return std::numeric_limits<double>::quiet_NaN();
    case 0xF9:
      return std::numeric_limits<double>::infinity();
    case 0xFA:
      return -std::numeric_limits<double>::infinity();
    case 0xFB:
      return std::numeric_limits<double>::max();
    case 0xFC:
      return std::numeric_limits<double>::lowest();
    case 0xFD:
      return previous;  // coincident
    case 0xFE:
      return previous - scale.unit;  // descending
    case 0xFF:
      return scale.raw;
    default:
      return previous + (code & 0x1F) * scale.unit * (1 + (code >> 5));
  }
}

// Either one code per edge, or (for long lists from short inputs) the codes
// repeated up to a chosen count. Reads the rest of the input.
std::vector<double> make_edges(FuzzedDataProvider& bytes) {
  const bool repeat = bytes.ConsumeBool();
  const std::size_t repeated_count =
      bytes.ConsumeIntegralInRange<std::size_t>(0, kMaxEdges);
  edge_scale scale;
  if (!bytes.ConsumeBool()) scale.unit = bytes.ConsumeFloatingPoint<double>();
  if (bytes.ConsumeBool()) scale.unit = -scale.unit;  // descending positions
  if (!bytes.ConsumeBool()) scale.origin = bytes.ConsumeFloatingPoint<double>();
  if (!bytes.ConsumeBool()) scale.raw = bytes.ConsumeFloatingPoint<double>();
  const std::vector<std::uint8_t> codes = bytes.ConsumeBytes<std::uint8_t>(
      std::min(bytes.remaining_bytes(), kMaxEdges));

  const std::size_t count = repeat ? repeated_count : codes.size();
  std::vector<double> edges;
  if (codes.empty()) return edges;
  double position = scale.origin;
  for (std::size_t i = 0; i < count; ++i) {
    position = next_position(codes[i % codes.size()], position, scale);
    edges.push_back(position);
  }
  return edges;
}

bool same_bits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() &&
         (a.empty() ||
          std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool whole_symbol_count(std::size_t edges) {
  return edges >= 30 && edges % 10 == 0;
}

int expected_grade(const tarn_result& result) {
  const auto score = [](bool passed) { return passed ? 4 : 0; };
  return std::min({score(script.passed[0]), score(script.passed[1]),
                   score(script.passed[2]), script.grades[0], script.grades[1],
                   script.grades[2], script.grades[3],
                   score(result.decode_ok)});
}

// A filed candidate is the parse of all n edges: n - 1 counts (nine per
// character and a 0 per gap), each one the parser could read.
void check_candidate(const tarn_candidate_result& candidate,
                     std::size_t edge_count, TARN_CHECKSUMFLAGS flags) {
  INVARIANT(candidate.bar_thicknesses.size() == edge_count - 1);
  for (std::size_t i = 0; i < candidate.bar_thicknesses.size(); ++i) {
    const char count = candidate.bar_thicknesses[i];
    INVARIANT(i % 10 == 9 ? count == 0 : count >= 0 && count <= 6);
  }
  INVARIANT(candidate.confidence == 1.0);
  INVARIANT(candidate.check_char == decoded.second);
  INVARIANT(candidate.check_char.size() == 1);
  if (candidate.text.empty()) INVARIANT(!candidate.reversed);
  const bool verifies =
      flags == TARN_CHECKSUM_VERIFY || flags == TARN_CHECKSUM_VERIFY_STRIP;
  if (!verifies) INVARIANT(candidate.text == decoded.first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static decoder_1d_interface* const decoder = new_server_interface(0);
  FuzzedDataProvider bytes(data, size);

  script = host_script{};
  const auto flags = static_cast<TARN_CHECKSUMFLAGS>(
      bytes.ConsumeBool() ? bytes.ConsumeIntegralInRange(0, 2)
                          : bytes.ConsumeIntegral<int>());
  const bool with_fill = bytes.ConsumeBool();
  const bool with_on_decoded = bytes.ConsumeBool();
  script.edge_arg = bytes.ConsumeIntegral<int>();
  script.refuse = bytes.ConsumeBool();
  for (bool& passed : script.passed) passed = bytes.ConsumeBool();
  for (int& grade : script.grades) grade = bytes.ConsumeIntegralInRange(-1, 5);

  const bool given_edges = bytes.ConsumeBool();
  const bool untouched_decode_ok = bytes.ConsumeBool();
  const int untouched_grade = bytes.ConsumeIntegral<int>();
  tarn_result result;
  (given_edges ? result.edges : script.fill) = make_edges(bytes);
  result.decode_ok = untouched_decode_ok;
  result.overall_grade = untouched_grade;
  const std::vector<double> edges_before = result.edges;

  const bool returned =
      decoder->decode(result, flags, with_fill ? fill_edges : nullptr,
                      script.edge_arg, with_on_decoded ? on_decoded : nullptr);

  // Nothing to read and nobody to ask: the record stays as it was.
  if (edges_before.empty() && !with_fill) {
    INVARIANT(!returned && result.decode_ok == untouched_decode_ok &&
              result.overall_grade == untouched_grade &&
              result.candidates.empty() && script.decoded_calls == 0);
    return 0;
  }
  INVARIANT(script.fill_calls == (edges_before.empty() ? 1 : 0));
  INVARIANT(same_bits(result.edges,
                      edges_before.empty() ? script.fill : edges_before));
  INVARIANT(returned == result.decode_ok);
  INVARIANT(script.decoded_calls <= 1);

  const bool parsed = returned || script.decoded_calls == 1;
  if (!whole_symbol_count(result.edges.size())) INVARIANT(!parsed);
  if (script.decoded_calls == 1) {
    INVARIANT(returned == !script.refuse);
    INVARIANT(result.overall_grade == expected_grade(result));
  } else {
    INVARIANT(result.overall_grade == untouched_grade);
  }
  INVARIANT(result.candidates.size() == (returned ? 1u : 0u));
  if (returned) {
    check_candidate(result.candidates["Code39 Extended"], result.edges.size(),
                    flags);
  }
  if (!parsed) return 0;

  // No state of the first call leaks into a second one on the same edges.
  tarn_result again;
  again.edges = result.edges;
  INVARIANT(decoder->decode(again, flags, nullptr, 0, nullptr));
  const tarn_candidate_result& repeat = again.candidates["Code39 Extended"];
  check_candidate(repeat, again.edges.size(), flags);
  if (returned) {
    const tarn_candidate_result& first = result.candidates["Code39 Extended"];
    INVARIANT(repeat.text == first.text &&
              repeat.check_char == first.check_char &&
              repeat.bar_thicknesses == first.bar_thicknesses &&
              repeat.reversed == first.reversed);
  }
  return 0;
}
