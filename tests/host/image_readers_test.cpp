// Every image format through image_pages, read as sRGB-coded grey, and the
// errors of broken files; edge files too. tests/host/data/make_test_images.sh
// makes the files.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/edge_file_reader.h"
#include "image/image_pages.h"
#include "image/input_error.h"
#include "image/input_file.h"

namespace {

// Documents of `pages` pages of `points` each, rendered grey 128.
struct fake_renderer : tarn::page_renderer {
  struct document : tarn::rendered_document {
    int pages;
    std::array<double, 2> points;
    document(int pages, std::array<double, 2> points)
        : pages(pages), points(points) {}
    int page_count() const override { return pages; }
    std::array<double, 2> page_points(int) const override { return points; }
    void render(int, double, std::uint8_t* pixels, int width,
                int height) const override {
      std::fill_n(pixels, std::size_t(width) * height, 128);
    }
  };
  fake_renderer(int pages, std::array<double, 2> points)
      : pages(pages), points(points) {}
  int pages;
  std::array<double, 2> points;
  const char* format() const override { return "FAKE"; }
  bool reads(std::string_view head) const override {
    return head.substr(0, 5) == "%FAKE";
  }
  std::unique_ptr<tarn::rendered_document> open(
      const std::vector<char>&) const override {
    return std::make_unique<document>(pages, points);
  }
};

using namespace std::string_literals;

// A file of tests/host/data, else the text itself. Text after a '|' stays in
// memory just past the end of the buffer, where no reader may look.
std::vector<unsigned char> load(const std::string& name) {
  std::ifstream file(TARN_TEST_DATA_DIR "/" + name, std::ios::binary);
  if (file) return {std::istreambuf_iterator<char>(file), {}};
  const std::size_t end = std::min(name.find('|'), name.size());
  std::string text = name;
  std::vector<unsigned char> bytes(text.begin(), text.erase(end, 1).end());
  bytes.resize(end);
  return bytes;
}

tarn::read_options two_pages() {
  tarn::read_options options;
  options.max_pages = 2;
  return options;
}

// Good files hold four blocks side by side; each is checked at its centre
// (the 4 x 2 Netpbm images: their second row).
TEST(ImagePages, ReadsEveryKindAsSrgbGrey) {
  const std::vector<int> blocks = {0, 255, 64, 191};
  const std::vector<int> bits = {0, 0, 255, 0}, greys = {153, 51, 255, 0};
  const std::tuple<std::string, int, int, std::vector<int>> cases[] = {
      {"grey.jpg", 1, 0, blocks},
      {"colour.jpg", 1, 0, blocks},
      {"grey8.png", 1, 0, blocks},
      {"palette.png", 1, 0, blocks},
      {"rgb16.png", 1, 0, blocks},
      {"grey16_no_gamma.png", 1, 0, blocks},
      {"linear_gamma.png", 1, 0, blocks},
      {"alpha.png", 1, 0, {255, 255, 64, 191}},  // transparent: white paper
      {"grey8.tif", 1, 0, blocks},
      {"bottom_right.tif", 1, 0, {191, 64, 255, 0}},
      {"bilevel.tif", 1, 0, {0, 255, 0, 255}},
      {"alpha.tif", 1, 0, {255, 255, 64, 191}},
      {"lossy.webp", 1, 0, blocks},
      {"lossless.webp", 1, 0, blocks},
      {"alpha.webp", 1, 0, {255, 255, 64, 191}},
      {"broken_page.tif", 2, 0, blocks},
      {"P1 # comment\n4 # width\n2\n0 1 0 0 1 1 0 1", 1, 0, bits},
      {"P4 12 2 \xff\xff\x48\x2f", 1, 0, bits},  // padding bits ignored
      {"P2\n4 2\n5\n0 5 1 3\n3 1 5 0\n", 1, 0, greys},
      {"P5\n4 2\n5\n\x00\x05\x01\x03\x03\x01\x05\x00"s, 1, 0, greys},
      {"P5 4 2 1000 \x00\x00\x03\xe8\x00\xc8\x02\x58"
       "\x02\x58\x00\xc8\x03\xe8\x00\x00"s,
       1, 0, greys},
  };
  for (const auto& [file, count, page, expected] : cases) {
    const std::vector<unsigned char> bytes = load(file);
    input_file input(bytes);
    image_pages pages(input, two_pages());
    ASSERT_EQ(pages.count(), count) << file;
    const grey_image page_pixels = pages.read(page);
    const grey_view image = page_pixels;
    for (int block = 0; block < 4; ++block)
      EXPECT_NEAR(
          image.row(image.height / 2)[(2 * block + 1) * image.width / 8],
          expected[block], 3)
          << file << " page " << page << " block " << block;
  }
}

// Read `linear`, samples stand as stored whatever the colour chunks say;
// palettes, depths, colour and transparency are still undone.
TEST(ImagePages, ReadsSamplesAsStoredWhenLinear) {
  const std::pair<std::string, std::vector<int>> cases[] = {
      {"linear_gamma.png", {0, 255, 13, 133}},
      {"grey8.png", {0, 255, 64, 191}},
      {"palette.png", {0, 255, 64, 191}},
      {"rgb16.png", {0, 255, 64, 191}},
      {"grey16_no_gamma.png", {0, 255, 64, 191}},
      {"alpha.png", {255, 255, 64, 191}},
  };
  tarn::read_options linear;
  linear.linear = true;
  for (const auto& [file, expected] : cases) {
    const std::vector<unsigned char> bytes = load(file);
    input_file input(bytes);
    const grey_image page = image_pages(input, linear).read(0);
    const grey_view image = page;
    for (int block = 0; block < 4; ++block)
      EXPECT_NEAR(
          image.row(image.height / 2)[(2 * block + 1) * image.width / 8],
          expected[block], 1)
          << file << " block " << block;
  }
}

// Pages and their pixels are checked before rendering: count, then size at
// the resolution asked for.
TEST(ImagePages, RendersDocumentsWithinTheLimits) {
  const std::tuple<int, std::array<double, 2>, double, std::string> cases[] = {
      {2, {72, 36}, 300, "300 x 150"},
      {1, {10.1, 0.2}, 72, "11 x 1"},
      {3, {72, 72}, 300, "FAKE document of 3 pages, more than the limit of 2"},
      {0, {72, 72}, 300, "FAKE document of no pages"},
      {1, {8200, 8200}, 72, "image too large: 8200 x 8200 pixels"},
      {1, {1e300, 1}, 300, "image too large: 67108865 x 5 pixels"},
      {1, {0, 72}, 300, "image too large: 67108865 x 300 pixels"},
  };
  const std::vector<unsigned char> bytes = load("%FAKE-1");
  for (const auto& [pages, points, dpi, expected] : cases) {
    const fake_renderer renderer(pages, points);
    tarn::read_options options = two_pages();
    options.renderer = &renderer;
    options.pdf_dpi = dpi;
    try {
      input_file input(bytes);
      image_pages document(input, options);
      EXPECT_EQ(document.count(), pages);
      const grey_image page = document.read(pages - 1);
      EXPECT_EQ(
          std::to_string(page.width) + " x " + std::to_string(page.height),
          expected);
      EXPECT_EQ(page.pixels.back(), 128);
    } catch (const input_error& e) {
      EXPECT_EQ(std::string(e.what()).substr(0, expected.size()), expected);
    }
  }
}

TEST(ImagePages, BrokenFilesAreErrors) {
  const std::string too_large =
      "image too large: 10000 x 10000 pixels, the limit is 67108864";
  const std::tuple<std::string, int, std::string> cases[] = {
      {"P5\n4 2\n255\n\x01\x02\x03", 0, "truncated PNM image"},
      {"P5", 0, "truncated PNM image"},
      {"P4\n4 2\n\x40", 0, "truncated PNM image"},
      // Headers that end where the buffer ends.
      {"P5 4 2 6553|6", 0, "truncated PNM image"},
      {"P5 4 # c|x\n5", 0, "truncated PNM image"},
      {"P5 4| 7", 0, "truncated PNM image"},
      {"P1\n4 2\n0100 1102", 0, "bad PBM pixel"},
      {"P2\n4 2\n9\n1 2 3 4 5 6 7 10", 0, "PNM sample out of range"},
      {"P5 1 1 100 \xc8"s, 0, "PGM sample above its maximum"},
      {"P5 x 2 255 ", 0, "bad PNM width"},
      {"P5 4 2 0 ", 0, "bad PNM maximum value"},
      {"P5 4 2 70000 ", 0, "PNM maximum value out of range"},
      {"P5 4 2 255\x01", 0, "bad PNM header"},
      {"P6 4 2 255 ", 0, "unsupported Netpbm type P6 (PBM and PGM only)"},
      {"P5 10000 10000 255 ", 0, too_large},
      {"huge.png", 0, too_large},
      {"huge.jpg", 0, too_large},
      {"huge.tif", 0, too_large},
      {"\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR"s, 0, "truncated PNG image"},
      {"\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\0\0\0\0"
       "\xff\xff\xff\xff"s,
       0, "bad PNG image: "},
      {"cmyk.jpg", 0, "CMYK JPEG images are not supported"},
      {"truncated.jpg", 0, "bad JPEG image: Premature end of JPEG file"},
      {"many_scans.jpg", 0, "bad JPEG image: more than 100 scans"},
      {"\xff\xd8\xff\xe0"s, 0, "bad JPEG image: "},
      {"II*\0\x10\0\0\0"s, 0, "bad TIFF image: "},
      {"broken_page.tif", 1, "truncated TIFF image: "},
      {"broken_page.tif", 2, "no page 3 of 2"},
      {"broken_link.tif", 1, "bad TIFF image: "},
      {"GIF89a", 0, "not an image or edge file: it looks like a GIF image"},
      {"%PDF-1.4\n", 0, "PDF needs the PDF renderer, which this program lacks"},
      {"RIFF\0\0\0\0WEBPVP8X"s, 0, "bad WebP image"},
      // Edge files (page -1): the whole message.
      {"1 2\n3 x4 5\n", -1, "line 2: bad number \"x4\""},
      {"# c\n\n1,5", -1, "line 3: bad number \"1,5\""},
      {"+1", -1, "line 1: bad number \"+1\""},
      {"1 nan", -1, "line 1: bad number \"nan\""},
      {"1e999", -1, "line 1: bad number \"1e999\""},
      {std::string(30, '7') + "x", -1,
       "line 1: bad number \"777777777777777777777777...\""},
      // Files that are no edge file: what they look like.
      {"1 2\x01", -1,
       "not an image or edge file: binary data, not PNG, JPEG, TIFF, WebP, PBM "
       "or PGM"},
      {"<?xml version=\"1.0\"?>\n<!-- c -->\n<svg/>", -1,
       "not an image or edge file: it looks like SVG"},
      {"/* XPM */\nstatic", -1,
       "not an image or edge file: it looks like an XPM image"},
      {"# first\nThis is a note about barcodes\n1 2", -1,
       "not an image or edge file: text beginning \"This is a note about...\""},
  };
  for (const auto& [file, page, message] : cases) {
    const std::vector<unsigned char> bytes = load(file);
    try {
      input_file input(bytes);
      if (page < 0)
        read_edge_file(input);
      else
        image_pages(input, two_pages()).read(page);
      ADD_FAILURE() << "read: " << file;
    } catch (const input_error& e) {
      const std::string what = e.what();  // an edge file's whole
      EXPECT_EQ(page < 0 ? what : what.substr(0, message.size()), message)
          << file << ": " << e.what();
    }
  }
}

std::vector<std::vector<double>> edge_lines(const std::string& text) {
  const std::vector<unsigned char> bytes = load(text);
  input_file input(bytes);
  return read_edge_file(input);
}

TEST(EdgeFileReader, ReadsOneScanLinePerLine) {
  EXPECT_EQ(
      edge_lines("\xef\xbb\xbf# scans of one label \xe2\x80\x94 caf\xc3\xa9\n"
                 "1\v2.5 3e1\t-4\f\r\n\n   # nothing here\n10 9.25 # the far "
                 "end\n7"),
      (std::vector<std::vector<double>>{{1, 2.5, 30, -4}, {10, 9.25}, {7}}));
  EXPECT_TRUE(edge_lines("# only a comment\n\n").empty());
}

}  // namespace
