// The scanner's image pipeline (a grey image in memory -> every symbol read)
// beside zxing-cpp's ReadBarcodes (Code 39, its default options) and ZBar's
// zbar_scan_image (Code 39 only), on the same grey buffers: the classes of
// image_classes.h. One iteration reads every image of a class once.
// Counters: images, symbols drawn and symbols read in the class, and CPU
// time per image. bench/scan_table.py turns the JSON output into the table
// of docs/performance.md.
// zbar.h first: zxing-cpp defines a macro that zbar's C++ part uses as a
// name.
#include <zbar.h>
// clang-format off
#include <ZXing/ReadBarcode.h>
// clang-format on
#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "bench/image_classes.h"
#include "read/decoder_plugin.h"
#include "read/scanner.h"

namespace {

using namespace zbar;

// Runs `read` (symbols read in one image) over the class given as the
// benchmark's argument.
void time_reader(benchmark::State& state,
                 const std::function<int(const grey_image&)>& read) {
  const image_class& chosen = image_classes()[std::size_t(state.range(0))];
  state.SetLabel(chosen.name);
  long read_count = 0;
  for (auto _ : state)
    for (const bench_image& image : chosen.images)
      read_count += read(image.pixels);
  int symbols_drawn = 0;
  for (const bench_image& image : chosen.images) symbols_drawn += image.symbols;
  const double count = double(chosen.images.size());
  state.counters["images"] = count;
  state.counters["drawn"] = symbols_drawn;
  state.counters["read"] = benchmark::Counter(
      double(read_count), benchmark::Counter::kAvgIterations);
  state.counters["time_per_image"] =
      benchmark::Counter(count, benchmark::Counter::kIsIterationInvariantRate |
                                    benchmark::Counter::kInvert);
}

void tarn_scan(benchmark::State& state) {
  static const decoder_plugin plugin(TARN_PLUGIN_PATH);
  static const auto decoder = plugin.new_decoder();
  const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);
  time_reader(state, [&](const grey_image& image) {
    return static_cast<int>(find_symbols(reader, image).size());
  });
}

void zxing_cpp(benchmark::State& state) {
  ZXing::DecodeHints hints;
  hints.setFormats(ZXing::BarcodeFormat::Code39);
  time_reader(state, [&](const grey_image& image) {
    const ZXing::ImageView view(image.pixels.data(), image.width, image.height,
                                ZXing::ImageFormat::Lum);
    return static_cast<int>(ZXing::ReadBarcodes(view, hints).size());
  });
}

void zbar(benchmark::State& state) {
  zbar_image_scanner_t* scanner = zbar_image_scanner_create();
  zbar_image_scanner_set_config(scanner, ZBAR_NONE, ZBAR_CFG_ENABLE, 0);
  zbar_image_scanner_set_config(scanner, ZBAR_CODE39, ZBAR_CFG_ENABLE, 1);
  time_reader(state, [&](const grey_image& image) {
    zbar_image_t* zimage = zbar_image_create();
    zbar_image_set_format(zimage, zbar_fourcc('Y', '8', '0', '0'));
    zbar_image_set_size(zimage, unsigned(image.width), unsigned(image.height));
    zbar_image_set_data(zimage, image.pixels.data(), image.pixels.size(),
                        nullptr);
    const int found = zbar_scan_image(scanner, zimage);
    zbar_image_destroy(zimage);
    return std::max(found, 0);
  });
  zbar_image_scanner_destroy(scanner);
}

// Each class's readers one after another, so that the machine's drift over
// the run falls on the three alike.
const bool registered = [] {
  const std::pair<const char*, void (*)(benchmark::State&)> readers[] = {
      {"tarn_scan", tarn_scan}, {"zxing_cpp", zxing_cpp}, {"zbar", zbar}};
  for (std::size_t i = 0; i < image_class_count(); ++i)
    for (const auto& [name, reader] : readers)
      benchmark::RegisterBenchmark(name, reader)
          ->Arg(static_cast<int>(i))
          ->Unit(benchmark::kMillisecond);
  return true;
}();

}  // namespace
