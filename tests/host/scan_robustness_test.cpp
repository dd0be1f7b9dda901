// The finder through the real plug-in on drawn pages: every symbol read once,
// where and at the angle it was drawn; nothing read from clutter.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "host/symbol_drawing.h"
#include "read/decoder_plugin.h"
#include "read/scanner.h"

namespace {

using drawing::symbol_shape;

struct page_case {
  const char* what;
  std::vector<symbol_shape> symbols;
  double blur;
  double corner_tolerance;  // pixels
};

double angle_between(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 360.0);
  return std::min(d, 360 - d);
}

// The found symbol drawn as `shape`: same text, same place.
const found_symbol* matching(const std::vector<found_symbol>& found,
                             const symbol_shape& shape) {
  for (const found_symbol& f : found)
    if (f.read.text == shape.code &&
        std::hypot(f.corners[0].x - shape.x, f.corners[0].y - shape.y) <
            shape.height)
      return &f;
  return nullptr;
}

TEST(FindSymbols, ReadsEverySymbolWhereAndAsItWasDrawn) {
  const decoder_plugin plugin(TARN_PLUGIN_PATH);
  const auto decoder = plugin.new_decoder();
  const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);
  // Corners within about two modules; under blur, 7 pixels.
  const page_case pages[] = {
      {"side by side",
       {{"LEFT1", 30, 100, 0, 2, 50}, {"RIGHT2", 300, 100, 0, 2, 50}},
       0,
       4},
      {"same text twice",
       {{"SAME", 40, 60, 0, 2, 40}, {"SAME", 40, 160, 0, 2, 40}},
       0,
       4},
      {"turned 30", {{"ANGLE30", 150, 250, 30, 2.5, 60}}, 0, 5},
      {"turned 200, upside down", {{"ANGLE200", 450, 150, 200, 2.5, 60}}, 0, 5},
      {"turned 20, long", {{"CODE-20DEG", 100, 250, 20, 2, 50}}, 0, 5},
      {"perspective", {{"FAR END", 60, 200, 0, 2.5, 80, 0.6}}, 0, 5},
      {"blurred a module", {{"BLUR9", 60, 200, 0, 4, 80}}, 3.6, 7},
  };
  for (const page_case& page : pages) {
    grey_image image = drawing::blank_page(600, 400);
    for (const symbol_shape& shape : page.symbols) drawing::draw(image, shape);
    if (page.blur > 0) drawing::blur(image, page.blur);
    const std::vector<found_symbol> found = find_symbols(reader, image);
    EXPECT_EQ(found.size(), page.symbols.size()) << page.what;
    for (const symbol_shape& shape : page.symbols) {
      const found_symbol* symbol = matching(found, shape);
      ASSERT_TRUE(symbol) << page.what << ": " << shape.code;
      EXPECT_TRUE(symbol->located);
      EXPECT_LT(angle_between(symbol->angle, shape.angle), 1.5) << page.what;
      const auto corners = drawing::corners(shape);
      for (std::size_t c = 0; c < 4; ++c) {
        EXPECT_NEAR(symbol->corners[c].x, corners[c].first,
                    page.corner_tolerance)
            << page.what << " corner " << c;
        EXPECT_NEAR(symbol->corners[c].y, corners[c].second,
                    page.corner_tolerance)
            << page.what << " corner " << c;
      }
      EXPECT_GE(symbol->lines_agreed, 2);
      EXPECT_LE(symbol->lines_agreed, symbol->lines_tried);
    }
  }
}

TEST(FindSymbols, TellsTheSymbolsOwnCheckCharacter) {
  const decoder_plugin plugin(TARN_PLUGIN_PATH);
  const auto decoder = plugin.new_decoder();
  const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);
  // CODE39 checks to W; X is wrong.
  for (const char* code : {"CODE39W", "CODE39X", "-. $/+%"}) {
    grey_image image = drawing::blank_page(400, 120);
    drawing::draw(image, {code, 30, 60, 0, 2, 60});
    const std::vector<found_symbol> found = find_symbols(reader, image);
    ASSERT_EQ(found.size(), 1u) << code;
    const std::string last(1, std::string(code).back());
    EXPECT_EQ(found[0].own_check_char, last);
    EXPECT_EQ(found[0].check_char_ok, found[0].read.check_char == last);
    EXPECT_NEAR(found[0].module_size, 2.0, 0.3);
  }
}

TEST(FindSymbols, ReadsNothingFromClutter) {
  const decoder_plugin plugin(TARN_PLUGIN_PATH);
  const auto decoder = plugin.new_decoder();
  const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);
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

// Decoders that misbehave in the ways a host must survive: one throws, the
// other claims success but files nothing.
struct failing_decoder : decoder_1d_interface {
  bool throws;
  explicit failing_decoder(bool throws) : throws(throws) {}
  bool decode(tarn_result&, TARN_CHECKSUMFLAGS, tarn_fill_edges_callback, int,
              tarn_decoded_callback) const override {
    if (throws) throw std::out_of_range("substr");
    return true;
  }
  std::string getversion() const override { return "0"; }
};

TEST(SymbolReader, DecoderFailuresAreNoReading) {
  const std::vector<double> edges(30, 1.0);
  for (bool throws : {true, false})
    EXPECT_FALSE(
        symbol_reader(failing_decoder(throws), TARN_CHECKSUM_NONE).read(edges));
}

}  // namespace
