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
    image_pages pages(input, 2);
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
       "not an image or edge file: binary data, not PNG, JPEG, TIFF, PBM or "
       "PGM"},
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
        image_pages(input, 2).read(page);
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
