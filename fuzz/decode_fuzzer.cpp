// Whole decode calls on edge lists a host could never mean: any length up to
// 3000, NaN, infinities, huge, coincident and descending positions, flags
// outside the enumeration, and callbacks that fill the edges or refuse the
// symbol. Each call must read what the reference reader reads and keep the
// host contract: the record untouched when there is nothing to read, the
// edges unchanged, the grade the lowest of the eight values, and the
// candidate filed only when the call returns true.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "fuzz/invariant.h"
#include "tests/support/reference_reader.h"

namespace {

// What the host's callbacks do in one case, and what they saw.
struct host_script {
  std::vector<double> fill;
  int fill_calls = 0, decoded_calls = 0;
  bool refuse = false;
  int grades[7] = {};  // passed_1 to passed_3 (as bools), grade_1 to grade_4
} script;

bool fill_edges(tarn_result& result, int edge_arg) {
  ++script.fill_calls;
  INVARIANT(edge_arg == 7);
  result.edges = script.fill;
  return true;
}

void on_decoded(tarn_result& result) {
  ++script.decoded_calls;
  bool* passed[] = {&result.passed_1, &result.passed_2, &result.passed_3};
  int* grades[] = {&result.grade_1, &result.grade_2, &result.grade_3,
                   &result.grade_4};
  for (int i = 0; i < 3; ++i) *passed[i] = script.grades[i] > 0;
  for (int i = 0; i < 4; ++i) *grades[i] = script.grades[3 + i];
  if (script.refuse) result.decode_ok = false;
}

int expected_grade(bool decode_ok) {
  int grade = decode_ok ? 4 : 0;
  for (int i = 0; i < 7; ++i)
    grade =
        std::min(grade, i < 3 ? (script.grades[i] > 0) * 4 : script.grades[i]);
  return grade;
}

// One position per code byte: most step forward by a multiple of the unit;
// the top codes give the positions no scanner should hand over.
std::vector<double> make_edges(FuzzedDataProvider& bytes) {
  const std::size_t repeat = bytes.ConsumeIntegralInRange<std::size_t>(0, 3000);
  const double unit = bytes.ConsumeBool() ? bytes.ConsumeFloatingPoint<double>()
                                          : bytes.ConsumeIntegralInRange(-3, 3);
  const double any = bytes.ConsumeFloatingPoint<double>();
  const std::vector<std::uint8_t> codes =
      bytes.ConsumeBytes<std::uint8_t>(3000);
  const double special[] = {NAN, INFINITY, -INFINITY, 1e308, -1e308, any};
  std::vector<double> edges;
  double position = 0.0;
  for (std::size_t i = 0; i < std::max(codes.size(), repeat) && !codes.empty();
       ++i) {
    const std::uint8_t code = codes[i % codes.size()];
    position = code >= 0xFA
                   ? special[code - 0xFA]
                   : position + (code & 0x1F) * unit * (1 + (code >> 5));
    edges.push_back(position);
  }
  return edges;
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
  const bool with_fill = bytes.ConsumeBool(),
             with_grading = bytes.ConsumeBool();
  script.refuse = bytes.ConsumeBool();
  for (int& grade : script.grades) grade = bytes.ConsumeIntegralInRange(-1, 5);
  tarn_result result;
  result.decode_ok = bytes.ConsumeBool();
  result.overall_grade = 99;
  result.candidates["Code39 Extended"].text = "earlier";
  (bytes.ConsumeBool() ? result.edges : script.fill) = make_edges(bytes);
  const tarn_result before = result;

  const bool returned =
      decoder->decode(result, flags, with_fill ? fill_edges : nullptr, 7,
                      with_grading ? on_decoded : nullptr);

  const tarn_candidate_result& filed = result.candidates["Code39 Extended"];
  if (before.edges.empty() && !with_fill) {  // nothing to read, nobody to ask
    INVARIANT(!returned && result.decode_ok == before.decode_ok &&
              result.overall_grade == 99 && filed.text == "earlier");
    return 0;
  }
  INVARIANT(script.fill_calls == before.edges.empty());
  const std::vector<double>& edges =
      before.edges.empty() ? script.fill : before.edges;
  INVARIANT(result.edges.size() == edges.size() &&
            std::equal(edges.begin(), edges.end(), result.edges.begin(),
                       [](double a, double b) {
                         return a == b || (std::isnan(a) && std::isnan(b));
                       }));
  const reference::read_result expected = reference::read(edges);
  INVARIANT(script.decoded_calls == (with_grading && expected.read));
  INVARIANT(returned == result.decode_ok &&
            returned == (expected.read && !(with_grading && script.refuse)));
  INVARIANT(result.overall_grade ==
            (script.decoded_calls ? expected_grade(returned) : 99));
  if (!returned) {
    INVARIANT(filed.text == "earlier");
    return 0;
  }
  INVARIANT(filed.bar_thicknesses == expected.counts &&
            filed.confidence == 1.0);
  INVARIANT(filed.check_char == decoded.second && decoded.second.size() == 1);
  INVARIANT(filed.reversed == (expected.reversed && !filed.text.empty()));
  const bool verifies =
      flags == TARN_CHECKSUM_VERIFY || flags == TARN_CHECKSUM_VERIFY_STRIP;
  INVARIANT(verifies || filed.text == decode(expected.data_text).first);
  return 0;
}
