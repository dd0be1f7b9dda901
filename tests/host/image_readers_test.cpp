// PNG and Netpbm images read as grey, and the errors of broken files.
#include <gtest/gtest.h>
#include <png.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/input_error.h"
#include "image/png_reader.h"
#include "image/pnm_reader.h"

namespace {

using namespace std::string_literals;

using bytes = std::vector<unsigned char>;

bytes as_bytes(const std::string& text) {
  return bytes(text.begin(), text.end());
}

// A 4x2 PNG written by libpng in `format` from 8-bit samples `samples`
// (16-bit formats take each sample times 257).
bytes write_png(png_uint_32 format, const std::vector<unsigned>& samples,
                const std::vector<unsigned char>& colormap = {}) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = 4;
  image.height = 2;
  image.format = format;
  image.colormap_entries = static_cast<png_uint_32>(colormap.size() / 3);
  std::vector<png_uint_16> wide;
  std::vector<png_byte> narrow;
  for (unsigned sample : samples) {
    wide.push_back(static_cast<png_uint_16>(sample * 257));
    narrow.push_back(static_cast<png_byte>(sample));
  }
  const void* buffer = (format & PNG_FORMAT_FLAG_LINEAR)
                           ? static_cast<const void*>(wide.data())
                           : static_cast<const void*>(narrow.data());
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, buffer, 0,
                                        colormap.data()));
  bytes png(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, png.data(), &size, 0, buffer, 0,
                                        colormap.data()));
  return png;
}

// Black, white, dark grey, light grey; then the same reversed.
const std::vector<float> expected_grey = {0.0f,  1.0f,  0.25f, 0.75f,
                                          0.75f, 0.25f, 1.0f,  0.0f};

void expect_grey(const grey_image& image, const std::vector<float>& expected,
                 float tolerance, const std::string& what) {
  ASSERT_EQ(image.width, 4) << what;
  ASSERT_EQ(image.height, 2) << what;
  for (std::size_t i = 0; i < expected.size(); ++i)
    EXPECT_NEAR(image.pixels[i] / 255.0f, expected[i], tolerance)
        << what << " " << i;
}

TEST(PngReader, ReadsEveryColourTypeAsGrey) {
  const std::vector<unsigned> grey = {0, 255, 64, 191, 191, 64, 255, 0};
  std::vector<unsigned> rgb, grey_alpha, rgba;
  for (unsigned g : grey) {
    rgb.insert(rgb.end(), {g, g, g});
    grey_alpha.insert(grey_alpha.end(), {g, 255});
    rgba.insert(rgba.end(), {g, g, g, 255});
  }
  // Colour map entries are the grey levels themselves; samples index them.
  const std::vector<unsigned char> colormap = {0,  0,  0,  255, 255, 255,
                                               64, 64, 64, 191, 191, 191};
  const std::vector<unsigned> indices = {0, 1, 2, 3, 3, 2, 1, 0};
  const std::pair<std::string, bytes> cases[] = {
      {"grey 8", write_png(PNG_FORMAT_GRAY, grey)},
      {"grey 16", write_png(PNG_FORMAT_LINEAR_Y, grey)},
      {"grey+alpha", write_png(PNG_FORMAT_GA, grey_alpha)},
      {"rgb 8", write_png(PNG_FORMAT_RGB, rgb)},
      {"rgba 8", write_png(PNG_FORMAT_RGBA, rgba)},
      {"rgb 16", write_png(PNG_FORMAT_LINEAR_RGB, rgb)},
      {"palette", write_png(PNG_FORMAT_RGB_COLORMAP, indices, colormap)},
  };
  for (const auto& [what, png] : cases) {
    ASSERT_TRUE(looks_like_png(png)) << what;
    // Linear samples come back sRGB-coded: compare those by order only.
    const bool linear = what.find("16") != std::string::npos;
    const grey_image image = read_png(png);
    if (linear) {
      EXPECT_LT(image.at(0, 0), image.at(2, 0)) << what;
      EXPECT_LT(image.at(2, 0), image.at(3, 0)) << what;
      EXPECT_LT(image.at(3, 0), image.at(1, 0)) << what;
    } else {
      expect_grey(image, expected_grey, 0.01f, what);
    }
  }
}

TEST(PngReader, TransparencyShowsWhitePaper) {
  const grey_image image = read_png(write_png(
      PNG_FORMAT_GA, {0, 0, 0, 255, 0, 128, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_NEAR(image.at(0, 0), 1.0f, 0.01f);  // fully transparent
  EXPECT_NEAR(image.at(1, 0), 0.0f, 0.01f);  // opaque black
  EXPECT_GT(image.at(2, 0), 0.4f);           // half transparent black
}

TEST(PnmReader, ReadsPlainAndRawBitmapsAndGreyMaps) {
  const std::vector<float> bits = {1, 0, 1, 1, 0, 0, 1, 0};  // 1 is black
  const std::vector<float> greys = {0, 1, 0.2f, 0.6f, 0.6f, 0.2f, 1, 0};
  const std::pair<std::string, std::vector<float>> cases[] = {
      {"P1\n4 2\n0100\n1101\n", bits},
      {"P1 # comment\n4 # width\n2\n0 1 0 0 1 1 0 1", bits},
      {"P4\n4 2\n\x40\xd0", bits},
      {"P4 4 2 \x4f\xdf", bits},  // padding bits beyond the width are ignored
      {"P2\n4 2\n5\n0 5 1 3\n3 1 5 0\n", greys},
      {"P5\n4 2\n5\n\x00\x05\x01\x03\x03\x01\x05\x00"s, greys},
      {"P5 4 2 1000 \x00\x00\x03\xe8\x00\xc8\x02\x58\x02\x58\x00\xc8\x03\xe8\x00\x00"s,
       greys},
  };
  for (const auto& [text, expected] : cases) {
    const bytes pnm = as_bytes(text);
    ASSERT_TRUE(looks_like_pnm(pnm)) << text;
    expect_grey(read_pnm(pnm), expected, 1e-6f, text);
  }
}

TEST(PnmReader, BrokenFilesAreErrors) {
  const std::pair<std::string, std::string> cases[] = {
      {"P5\n4 2\n255\n\x01\x02\x03", "truncated PNM image"},
      {"P2\n4 2\n255\n1 2 3 4 5", "truncated PNM image"},
      {"P4\n4 2\n\x40", "truncated PNM image"},
      {"P5\n4", "truncated PNM image"},
      {"P1\n4 2\n0100 1102", "bad PBM pixel"},
      {"P2\n4 2\n9\n1 2 3 4 5 6 7 10", "PNM sample out of range"},
      {"P5 1 1 100 \xc8"s, "PGM sample above its maximum"},
      {"P5 0 2 255 ", "bad PNM width"},
      {"P5 x 2 255 ", "bad PNM width"},
      {"P5 4 2 0 ", "bad PNM maximum value"},
      {"P5 4 2 70000 ", "PNM maximum value out of range"},
      {"P5 4 2 255\x01", "bad PNM header"},
      {"P5 100000 100000 255 ", "image too large"},
      {"P6 4 2 255 ", "unsupported Netpbm type P6 (PBM and PGM only)"},
      {"P3 4 2 255 ", "unsupported Netpbm type P3 (PBM and PGM only)"},
  };
  for (const auto& [text, message] : cases) {
    try {
      read_pnm(as_bytes(text));
      ADD_FAILURE() << "read: " << text;
    } catch (const input_error& e) {
      EXPECT_EQ(e.what(), message) << text;
    }
  }
}

}  // namespace
