// The scanner's image pipeline (a grey image in memory -> every symbol read)
// beside zxing-cpp's ReadBarcodes (Code 39, its default options) and ZBar's
// zbar_scan_image (Code 39 only), on the same grey buffers: the samples,
// drawn symbols clean and degraded, a 1200x900 page of four symbols among
// text, a 4000x3000 page with one small symbol. Counters: images per class,
// and symbols read per image.
// zbar.h first: zxing-cpp defines a macro that zbar's C++ part uses as a
// name.
#include <zbar.h>
// clang-format off
#include <ZXing/ReadBarcode.h>
// clang-format on
#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

#include "bench/symbol_drawing.h"
#include "image/image_pages.h"
#include "image/input_file.h"
#include "read/decoder_plugin.h"
#include "read/scanner.h"

namespace {

using namespace zbar;

using drawing::symbol_shape;

std::vector<grey_image> samples() {
  std::vector<grey_image> images;
  for (const char* name :
       {"check-char-2px.png", "clean-1px.png", "degraded-tilted.png",
        "quarter-turn.png", "degraded-low-contrast.pgm"}) {
    input_file input(std::string(TARN_SAMPLES_DIR) + "/" + name,
                     tarn::read_options{}.max_file_bytes);
    images.push_back(image_pages(input, tarn::read_options{}).read(0));
  }
  return images;
}

// Deterministic noise, up to `amount` grey levels either way.
void add_noise(grey_image& image, int amount) {
  unsigned state = 99;
  for (std::uint8_t& pixel : image.pixels) {
    state = state * 1103515245u + 12345u;
    const int noisy =
        pixel + static_cast<int>((state >> 8) % (2 * amount + 1)) - amount;
    pixel = static_cast<std::uint8_t>(std::clamp(noisy, 0, 255));
  }
}

// Rows of short bars like lines of text.
void add_text(grey_image& image, int left, int top, int width, int rows) {
  unsigned state = 5;
  for (int row = 0; row < rows; ++row)
    for (int x = left; x < left + width;) {
      state = state * 1103515245u + 12345u;
      const int bar = 1 + static_cast<int>((state >> 8) % 3);
      for (int y = top + row * 20; y < top + row * 20 + 10; ++y)
        for (int dx = 0; dx < bar; ++dx)
          image.pixels[std::size_t(y) * image.width + x + dx] = 40;
      x += bar + 1 + static_cast<int>((state >> 12) % 4);
    }
}

std::vector<grey_image> drawn(bool degraded) {
  struct variant {
    double angle, module, blur, far_scale;
  };
  const variant variants[] = {
      {0, 3, 0.5, 1},    {0, 2, 0.5, 1}, {180, 3, 0.5, 1}, {25, 3, 0.5, 1},
      {90, 2.5, 0.5, 1}, {0, 3, 2.7, 1}, {5, 3, 0.8, 0.7}, {40, 3.5, 1, 1}};
  std::vector<grey_image> images;
  for (const variant& v : variants) {
    grey_image image = drawing::blank_page(600, 400);
    const double r = v.angle * 3.14159265358979 / 180;
    symbol_shape shape{"CODE-39", 0, 0, v.angle, v.module, 60, v.far_scale};
    const double length = 116 * v.module * (1 + v.far_scale) / 2;
    shape.x = 300 - std::cos(r) * length / 2;
    shape.y = 200 + std::sin(r) * length / 2;
    drawing::draw(image, shape);
    if (degraded) {
      drawing::blur(image, v.blur);
      add_noise(image, 25);
    }
    images.push_back(std::move(image));
  }
  return images;
}

std::vector<grey_image> page_of_four() {
  grey_image page = drawing::blank_page(1200, 900);
  add_text(page, 50, 40, 1100, 6);
  drawing::draw(page, {"INVOICE-1", 80, 250, 0, 3, 60});
  drawing::draw(page, {"ORDER 2", 700, 250, 0, 3, 60});
  drawing::draw(page, {"LOT 3", 100, 600, 15, 3, 60});
  drawing::draw(page, {"LOT-4", 700, 650, 0, 2.5, 60});
  add_text(page, 50, 760, 1100, 6);
  drawing::blur(page, 0.6);
  return {page};
}

std::vector<grey_image> photo_page() {
  grey_image page = drawing::blank_page(4000, 3000);
  drawing::draw(page, {"SMALL", 2500, 1800, 0, 2, 40});
  return {page};
}

const std::vector<grey_image>& image_class(int index) {
  static const std::vector<grey_image> classes[] = {
      samples(), drawn(false), drawn(true), page_of_four(), photo_page()};
  return classes[index];
}

const char* const class_names[] = {"samples", "drawn_clean", "drawn_degraded",
                                   "page_1200x900_four", "page_4000x3000_one"};

// Runs `read` (symbols read in one image) over the class, one image per
// iteration in turn.
void time_reader(benchmark::State& state,
                 const std::function<int(const grey_image&)>& read) {
  const std::vector<grey_image>& images =
      image_class(static_cast<int>(state.range(0)));
  state.SetLabel(class_names[state.range(0)]);
  std::size_t next = 0;
  long symbols = 0;
  for (auto _ : state) {
    symbols += read(images[next]);
    next = (next + 1) % images.size();
  }
  state.counters["symbols_per_image"] =
      benchmark::Counter(double(symbols) / double(state.iterations()));
  state.counters["images"] = double(images.size());
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

BENCHMARK(tarn_scan)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(zxing_cpp)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(zbar)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

}  // namespace
