// The finder through the real plug-in on drawn pages: every symbol read once,
// where and at the angle it was drawn; nothing read from clutter.
#include <gtest/gtest.h>

#include <cmath>

#include "host/symbol_drawing.h"
#include "read/decoder_plugin.h"
#include "read/scanner.h"

namespace {

using drawing::symbol_shape;

const decoder_plugin plugin(TARN_PLUGIN_PATH);
const auto decoder = plugin.new_decoder();
const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);

TEST(FindSymbols, ReadsEverySymbolWhereAndAsItWasDrawn) {
  // Corners within about two modules; under blur, 7 pixels.
  // clang-format off
  const std::tuple<const char*, std::vector<symbol_shape>, double, double>
      pages[] = {  // what, symbols, blur, corner tolerance
      {"side by side", {{"CODE39W", 30, 100, 0, 2, 50}, {"CODE39X", 300, 100, 0, 2, 50}}, 0, 4},
      {"same text twice", {{"-. $/+%", 40, 60, 0, 2, 40}, {"-. $/+%", 40, 160, 0, 2, 40}}, 0, 4},
      {"turned 30", {{"ANGLE30", 150, 250, 30, 2.5, 60}}, 0, 5},
      {"turned 200, upside down", {{"ANGLE200", 450, 150, 200, 2.5, 60}}, 0, 5},
      {"perspective", {{"FAR END", 60, 200, 0, 2.5, 80, 0.6}}, 0, 5},
      {"blurred a module", {{"BLUR9", 60, 200, 0, 4, 80}}, 3.6, 7},
  };
  // clang-format on
  for (const auto& [what, symbols, blur, tolerance] : pages) {
    grey_image image = drawing::blank_page(600, 400);
    for (const symbol_shape& shape : symbols) drawing::draw(image, shape);
    if (blur > 0) drawing::blur(image, blur);
    const std::vector<found_symbol> found = find_symbols(reader, image);
    EXPECT_EQ(found.size(), symbols.size()) << what;
    for (const symbol_shape& shape : symbols) {
      // The found symbol drawn as `shape`: same text, same place.
      const auto symbol =
          std::find_if(found.begin(), found.end(), [&](auto& f) {
            return f.read.text == shape.code &&
                   std::hypot(f.corners[0].x - shape.x,
                              f.corners[0].y - shape.y) < shape.height;
          });
      ASSERT_NE(symbol, found.end()) << what << ": " << shape.code;
      EXPECT_TRUE(symbol->located);
      const double turn =
          std::fmod(std::fabs(symbol->angle - shape.angle), 360);
      EXPECT_LT(std::min(turn, 360 - turn), 1.5) << what;
      const auto corners = drawing::corners(shape);
      for (std::size_t c = 0; c < 4; ++c)
        EXPECT_LT(std::hypot(symbol->corners[c].x - corners[c].first,
                             symbol->corners[c].y - corners[c].second),
                  tolerance)
            << what << " corner " << c;
      // The last character is the symbol's own check character: CODE39
      // checks to W, X is wrong.
      const std::string last = shape.code.substr(shape.code.size() - 1);
      EXPECT_EQ(symbol->own_check_char, last);
      EXPECT_EQ(symbol->check_char_ok, symbol->read.check_char == last);
      if (blur == 0 && shape.far_scale == 1) {
        EXPECT_NEAR(symbol->module_size, shape.module, 0.15 * shape.module);
      }
      EXPECT_GE(symbol->lines_agreed, 2);
      EXPECT_LE(symbol->lines_agreed, symbol->lines_tried);
    }
  }
}

TEST(FindSymbols, ReadsNothingFromClutter) {
  // Rows of bars of random widths and gaps, like text or a damaged symbol,
  // and noise.
  grey_image image = drawing::blank_page(500, 400);
  unsigned state = 7;
  const auto next = [&] { return (state = state * 1103515245u + 12345u) >> 8; };
  for (std::uint8_t& pixel : image.pixels) pixel -= next() % 40;
  for (int top = 10; top < 380; top += 40)
    for (int x = 10; x < 480;) {
      const int width = 1 + next() % 8;
      for (int y = top; y < top + 30; ++y)
        for (int dx = 0; dx < width; ++dx)
          image.pixels[std::size_t(y) * 500 + x + dx] = 30;
      x += width + 1 + next() % 8;
    }
  drawing::blur(image, 0.7);
  for (const found_symbol& f : find_symbols(reader, image))
    ADD_FAILURE() << "read " << f.read.text;
}

// A decoder that claims success but files nothing is no reading either
// (one that throws: the throwing fake plug-in in scanner_program_test).
struct empty_decoder : decoder_1d_interface {
  bool decode(tarn_result&, TARN_CHECKSUMFLAGS, tarn_fill_edges_callback, int,
              tarn_decoded_callback) const override {
    return true;
  }
  std::string getversion() const override { return "0"; }
};

TEST(SymbolReader, EmptySuccessIsNoReading) {
  EXPECT_FALSE(symbol_reader(empty_decoder(), TARN_CHECKSUM_NONE)
                   .read(std::vector<double>(30, 1.0)));
}

}  // namespace
