// The scanner's reading of sample images through the real plug-in, also after
// the images are turned, mirrored, faded, shifted, made noisy or enlarged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>

#include "image/file_bytes.h"
#include "image/png_reader.h"
#include "read/decoder_plugin.h"
#include "read/scanner.h"

namespace {

grey_image sample(const std::string& name) {
  return read_png(read_file_bytes(std::string(TARN_SAMPLES_DIR) + "/" + name));
}

grey_image transformed(int width, int height,
                       const std::function<float(int, int)>& pixel) {
  grey_image result;
  result.width = width;
  result.height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      result.pixels.push_back(
          static_cast<std::uint8_t>(std::lround(255 * pixel(x, y))));
  return result;
}

grey_image quarter_turn(const grey_image& image) {
  return transformed(image.height, image.width, [&](int x, int y) {
    return image.at(y, image.height - 1 - x);
  });
}

grey_image mirrored(const grey_image& image) {
  return transformed(image.width, image.height, [&](int x, int y) {
    return image.at(image.width - 1 - x, y);
  });
}

grey_image levels(const grey_image& image, float dark, float light) {
  return transformed(image.width, image.height, [&](int x, int y) {
    return dark + (light - dark) * image.at(x, y);
  });
}

// Deterministic noise, up to `amount` either way.
grey_image noisy(const grey_image& image, float amount) {
  unsigned state = 12345;
  return transformed(image.width, image.height, [&](int x, int y) {
    state = state * 1103515245u + 12345u;
    const float uniform = static_cast<float>(state >> 8) / 16777216.0f;
    return std::clamp(image.at(x, y) + amount * (2 * uniform - 1), 0.0f, 1.0f);
  });
}

grey_image enlarged(const grey_image& image, int factor) {
  return transformed(
      image.width * factor, image.height * factor,
      [&](int x, int y) { return image.at(x / factor, y / factor); });
}

// Each pixel the mean of itself and its row neighbours.
grey_image blurred(const grey_image& image) {
  return transformed(image.width, image.height, [&](int x, int y) {
    const int left = std::max(x - 1, 0);
    const int right = std::min(x + 1, image.width - 1);
    return (image.at(left, y) + image.at(x, y) + image.at(right, y)) / 3;
  });
}

struct robustness_case {
  const char* what;
  const char* sample;
  std::function<grey_image(const grey_image&)> change;
  const char* text;
  bool reversed;
};

TEST(ScanRobustness, ReadsSamplesThroughThePlugin) {
  const decoder_plugin plugin(TARN_PLUGIN_PATH);
  const auto decoder = plugin.new_decoder();
  const symbol_reader reader(*decoder, TARN_CHECKSUM_NONE);
  const char* clean = "clean-1px.png";
  const char* checked = "check-char-2px.png";
  const robustness_case cases[] = {
      {"as made", checked, [](auto& i) { return i; }, "Hello, World!3", false},
      {"quarter turn", checked, quarter_turn, "Hello, World!3", false},
      {"three quarter turns", checked,
       [](auto& i) { return quarter_turn(quarter_turn(quarter_turn(i))); },
       "Hello, World!3", true},
      {"mirrored", checked, mirrored, "Hello, World!3", true},
      {"faded", checked, [](auto& i) { return levels(i, 0.45f, 0.55f); },
       "Hello, World!3", false},
      {"grey paper", checked, [](auto& i) { return levels(i, 0.3f, 0.6f); },
       "Hello, World!3", false},
      {"noisy", checked, [](auto& i) { return noisy(i, 0.3f); },
       "Hello, World!3", false},
      {"blurred", checked, blurred, "Hello, World!3", false},
      {"enlarged", clean, [](auto& i) { return enlarged(i, 3); },
       "TARN-SCAN 1X", false},
  };
  for (const robustness_case& c : cases) {
    const vote_outcome outcome = scan_image(reader, c.change(sample(c.sample)));
    ASSERT_TRUE(outcome.symbol) << c.what;
    EXPECT_EQ(outcome.symbol->text, c.text) << c.what;
    EXPECT_EQ(outcome.symbol->reversed, c.reversed) << c.what;
    EXPECT_GT(outcome.lines_agreed, 10) << c.what;
    EXPECT_EQ(outcome.lines_agreed, outcome.lines_read) << c.what;
  }
}

// Decoders that misbehave in the ways a host must survive.
struct throwing_decoder : decoder_1d_interface {
  bool decode(tarn_result&, TARN_CHECKSUMFLAGS, tarn_fill_edges_callback, int,
              tarn_decoded_callback) const override {
    throw std::out_of_range("substr");
  }
  std::string getversion() const override { return "0"; }
};

struct silent_decoder : decoder_1d_interface {
  bool decode(tarn_result&, TARN_CHECKSUMFLAGS, tarn_fill_edges_callback, int,
              tarn_decoded_callback) const override {
    return true;  // claims success but files nothing
  }
  std::string getversion() const override { return "0"; }
};

TEST(SymbolReader, DecoderFailuresAreNoReading) {
  const std::vector<double> edges(30, 1.0);
  EXPECT_FALSE(
      symbol_reader(throwing_decoder(), TARN_CHECKSUM_NONE).read(edges));
  EXPECT_FALSE(symbol_reader(silent_decoder(), TARN_CHECKSUM_NONE).read(edges));
}

}  // namespace
