// Whole decode calls on edge lists a host could never mean: any length up to
// 3000, NaN, infinities, huge, coincident and descending positions, and flags
// outside the enumeration. Each call must read exactly what the reference
// reader reads (the element list, the direction, the text), leave the list
// parsed last in the token stream, leave the edges and other decoders'
// entries alone, and file a candidate only when it returns true.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>

#include "fuzz/invariant.h"
#include "tests/support/reference_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  static decoder_1d_interface* const decoder = new_server_interface(0);
  FuzzedDataProvider bytes(data, size);
  const int flags = bytes.ConsumeIntegral<int>();
  const std::size_t count = bytes.ConsumeIntegralInRange<std::size_t>(0, 3000);
  const double unit = bytes.ConsumeBool() ? bytes.ConsumeFloatingPoint<double>()
                                          : bytes.ConsumeIntegralInRange(-3, 3);
  // One position per code byte, repeated up to `count`: a step of a multiple
  // of the unit, or one of the positions no scanner should hand over.
  const double special[] = {NAN, INFINITY, -INFINITY, 1e308, -1e308, 0.0};
  const std::vector<std::uint8_t> codes =
      bytes.ConsumeRemainingBytes<std::uint8_t>();
  std::vector<double> edges;
  for (std::size_t i = 0; !codes.empty() && i < std::max(count, codes.size());
       ++i) {
    const std::uint8_t code = codes[i % codes.size()];
    const double last = edges.empty() ? 0.0 : edges.back();
    edges.push_back(code >= 0xFA
                        ? special[code - 0xFA]
                        : last + (code & 0x1F) * unit * (1 + (code >> 5)));
  }
  tarn_result result;
  result.edges = edges;
  result.candidates["Code 128"].text = "other decoder";
  const std::vector<char> loaded_before = _bar_thicknesses;
  const bool read = decoder->decode(
      result, static_cast<TARN_CHECKSUMFLAGS>(flags), nullptr, 0, nullptr);

  const reference::read_result expected = reference::read(edges);
  INVARIANT(read == expected.read && read == result.decode_ok);
  // The token stream holds the list parsed last, also when no parse read.
  INVARIANT(_bar_thicknesses ==
            (expected.parsed ? expected.counts : loaded_before));
  // Bitwise, as NaN never equals itself; memcmp may not see a null pointer.
  INVARIANT(result.edges.size() == edges.size() &&
            (edges.empty() || !std::memcmp(result.edges.data(), edges.data(),
                                           edges.size() * sizeof(double))));
  INVARIANT(result.candidates.size() == (read ? 2u : 1u));
  INVARIANT(result.candidates["Code 128"].text == "other decoder");
  if (!read) return 0;
  const tarn_candidate_result& filed = result.candidates["Code39 Extended"];
  INVARIANT(filed.bar_thicknesses == expected.counts && filed.confidence == 1);
  INVARIANT(filed.reversed == (expected.reversed && !filed.text.empty()));
  const auto [text, check] = decode(expected.data_text);
  INVARIANT(filed.check_char == check && check.size() == 1);
  INVARIANT(flags == 1 || flags == 2 || filed.text == text);
  return 0;
}
