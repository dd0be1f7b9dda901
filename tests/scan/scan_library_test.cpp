// The library through tarn/scan.h alone: symbols drawn in memory at known
// places and angles found where they were drawn, from every pixel format and
// view; the options; files of pages, broken files, and tarn-scan's JSON.
#include <gtest/gtest.h>
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "support/code39_model.h"
#include "tarn/scan.h"

namespace {

namespace fs = std::filesystem;
using tarn::pixel_format;

constexpr double pi = 3.14159265358979323846;
constexpr double module = 2;

// A symbol of `text`: its bars' centre, its reading direction in degrees
// counter-clockwise on screen, its height; between the heights `gap_from`
// and `gap_to` (up from its middle) only the outer bars are printed. Its
// module grows evenly along it to `far` times the first at the stop end,
// as in perspective.
struct drawn {
  std::string text;
  double x, y, angle, height = 30, gap_from = 0, gap_to = 0, far = 1;
};

struct page {
  int width, height;
  std::vector<drawn> symbols;
  std::vector<std::uint8_t> grey;
};

std::vector<double> edges_of(const std::string& text) {
  code39::print print;
  print.narrow = print.gap = module;
  print.ratio = 3;
  return code39::symbol_edges(text, print);
}

// The point `u` along the symbol from its start, `v` up from its middle.
tarn::point on_page(const drawn& d, double u, double v) {
  const double a = d.angle * pi / 180, c = std::cos(a), s = std::sin(a);
  u -= edges_of(d.text).back() / 2;
  return {d.x + u * c - v * s, d.y - u * s - v * c};
}

// White paper, each pixel inked by the share of its 4 x 4 subpixels in bars.
page draw(int width, int height, std::vector<drawn> symbols) {
  page p{width, height, std::move(symbols), {}};
  p.grey.assign(std::size_t(width) * height, 255);
  for (const drawn& d : p.symbols) {
    const std::vector<double> edges = edges_of(d.text);
    const double a = d.angle * pi / 180, c = std::cos(a), s = std::sin(a);
    // Printed at u + growth * u^2 along the symbol, u its unturned place.
    const double growth = (d.far - 1) / (2 * edges.back());
    const double printed = edges.back() * (1 + d.far) / 2;
    const auto unprinted = [&](double at) {
      return growth == 0 ? at
                         : (std::sqrt(1 + 4 * growth * at) - 1) / (2 * growth);
    };
    for (int i = 0; i < width * height; ++i) {
      int ink = 0;
      for (int k = 0; k < 16; ++k) {
        const double x = i % width + (k % 4 + 0.5) / 4 - d.x;
        const double y = i / width + (k / 4 + 0.5) / 4 - d.y;
        const double u = unprinted(x * c - y * s + printed / 2),
                     v = -x * s - y * c;
        const bool gap = v > d.gap_from && v < d.gap_to && u > module &&
                         u < edges.back() - module;
        const auto bar = std::upper_bound(edges.begin(), edges.end(), u);
        ink += !gap && std::fabs(v) < d.height / 2 && (bar - edges.begin()) % 2;
      }
      p.grey[i] = std::min(p.grey[i], std::uint8_t(255 - ink * 255 / 16));
    }
  }
  return p;
}

// The twins differ in height, or in place along their axis too. Lines across
// a gap read nothing: each half is found alone, and the outlines are merged.
// H is B33's check character.
const page pages[] = {
    draw(220, 150, {{"UP", 110, 40, 0}, {"DN", 110, 105, 180}}),
    draw(150, 220, {{"NO", 45, 110, 90}, {"SO", 105, 110, 270}}),
    draw(400, 300,
         {{"A17", 110, 80, 17}, {"B33H", 280, 200, 33}, {"C12", 95, 205, 120}}),
    draw(300, 250,
         {{"X45", 80, 120, 45},
          {"TW", 200, 110, 0},
          {"TW", 200, 160, 0},
          {"TW", 210, 210, 0}}),
    draw(320, 160,
         {{"HI", 85, 80, 0, 120, -10, 20}, {"LO", 235, 80, 0, 120, -20, 10}}),
    // Quiet zones and bar ends a few pixels from the borders.
    draw(260, 200,
         {{"LB", 66, 20, 0}, {"RB", 240, 100, 90}, {"BT", 140, 180, 180}}),
};

// Each drawn symbol found once, its corners within a pixel of the bars'
// (start's top, stop's top, stop's bottom, start's bottom) and its angle
// within a degree.
void expect_drawn(const std::vector<tarn::barcode>& found, const page& p,
                  const std::string& what) {
  std::ostringstream seen;
  for (const tarn::barcode& b : found) {
    seen << "\n  " << b.text << " at " << b.angle << ":";
    for (const tarn::point& c : b.corners) seen << " " << c.x << "," << c.y;
  }
  EXPECT_EQ(found.size(), p.symbols.size()) << what << seen.str();
  for (const drawn& d : p.symbols) {
    const double h = d.height / 2, l = edges_of(d.text).back();
    const tarn::point corners[] = {on_page(d, 0, h), on_page(d, l, h),
                                   on_page(d, l, -h), on_page(d, 0, -h)};
    const auto near = [&](const tarn::barcode& b) {
      double off = 0;
      for (int i = 0; i < 4; ++i)
        off = std::max(off, std::hypot(b.corners[i].x - corners[i].x,
                                       b.corners[i].y - corners[i].y));
      return b.text == d.text && b.located && off <= 1.0 &&
             std::fabs(std::remainder(b.angle - d.angle, 360)) <= 1.0;
    };
    EXPECT_EQ(std::count_if(found.begin(), found.end(), near), 1)
        << what << ": " << d.text << " at " << d.angle << seen.str();
  }
}

TEST(ReadBarcodes, FindsEachSymbolWhereItWasDrawn) {
  for (const page& p : pages)
    expect_drawn(tarn::read_barcodes({p.grey.data(), p.width, p.height}), p,
                 p.symbols.front().text);
}

// In perspective the module grows along a symbol, from character to
// character more than the decoder allows; read either way round.
TEST(ReadBarcodes, ReadsSymbolsWhoseModuleGrowsAlongThem) {
  for (double angle : {0, 180}) {
    const page p = draw(420, 80, {{"TILT", 210, 40, angle, 40, 0, 0, 2.2}});
    const auto found = tarn::read_barcodes({p.grey.data(), p.width, p.height});
    ASSERT_EQ(found.size(), 1u) << angle;
    EXPECT_EQ(found[0].text, "TILT") << angle;
  }
}

// A long symbol in a strip: two lines must read it, the seed's and, in a
// strip shorter than the step between the lines that settle it, one halfway
// to the next; a strip that one line alone reads is not reported.
TEST(ReadBarcodes, ReadsLongSymbolsInStripsThatTwoLinesCross) {
  const std::tuple<double, double, std::size_t> cases[] = {
      // height, middle, symbols read
      {4, 20, 1},   {4, 21.5, 1}, {5, 20, 1}, {5, 21.5, 1}, {6, 20, 1},
      {6, 21.5, 1}, {1, 20, 0},   {2, 20, 0}, {2, 20.5, 0}};
  for (const auto& [height, middle, symbols] : cases) {
    const page p = draw(460, 44, {{"LONGSTRIP12", 230, middle, 0, height}});
    const auto found = tarn::read_barcodes({p.grey.data(), p.width, p.height});
    ASSERT_EQ(found.size(), symbols) << height << " " << middle;
    if (symbols) {
      EXPECT_EQ(found[0].text, "LONGSTRIP12") << height;
    }
  }
}

// Colours whose luma shows the bars only when the channels are taken in
// their order (swapped, bars and paper have one luma), black ink as alpha;
// views with padded rows, in the middle of a buffer.
TEST(ReadBarcodes, EveryPixelFormatAndViewReadsAlike) {
  const page& p = pages[2];
  const std::tuple<pixel_format, int, int, int> cases[] = {
      // format, left and top margin, right margin in pixels
      {pixel_format::grey, 0, 0, 0}, {pixel_format::rgb, 0, 0, 0},
      {pixel_format::bgr, 0, 0, 0},  {pixel_format::rgba, 0, 0, 0},
      {pixel_format::bgra, 0, 0, 0}, {pixel_format::grey, 0, 0, 5},
      {pixel_format::grey, 4, 3, 2}, {pixel_format::bgr, 4, 3, 2},
  };
  for (const auto& [format, left, top, right] : cases) {
    const int size = std::vector<int>{1, 3, 3, 4, 4}[int(format)];
    const int stride = (p.width + left + right) * size;
    std::vector<std::uint8_t> bytes(std::size_t(stride) * (p.height + 2 * top));
    for (int i = 0; i < p.width * p.height; ++i) {
      const std::uint8_t grey = p.grey[i], ink = 255 - grey,
                         g = 182 - ink * 82 / 255;
      const std::vector<std::uint8_t> pixel[] = {{grey},
                                                 {grey, g, ink},
                                                 {ink, g, grey},
                                                 {0, 0, 0, ink},
                                                 {ink, g, grey, 255}};
      std::copy(pixel[int(format)].begin(), pixel[int(format)].end(),
                &bytes[std::size_t(i / p.width + top) * stride +
                       (i % p.width + left) * size]);
    }
    const tarn::image_view view(bytes.data() + top * stride + left * size,
                                p.width, p.height, format, right ? stride : 0);
    expect_drawn(tarn::read_barcodes(view), p,
                 "format " + std::to_string(int(format)) + ", margins " +
                     std::to_string(left + right));
  }
}

TEST(ImageView, RefusesViewsOfNoImage) {
  const std::uint8_t pixels[12] = {};
  const std::tuple<const std::uint8_t*, int, int, pixel_format, int> cases[] = {
      {nullptr, 2, 2, pixel_format::grey, 0},
      {pixels, 0, 2, pixel_format::grey, 0},
      {pixels, 2, -1, pixel_format::grey, 0},
      {pixels, 2, 2, pixel_format::rgb, 5},
      {pixels, 2, 2, pixel_format::bgra, -8},
  };
  for (const auto& [data, width, height, format, stride] : cases)
    EXPECT_THROW(tarn::image_view(data, width, height, format, stride),
                 std::invalid_argument)
        << width << " x " << height << ", stride " << stride;
  EXPECT_NO_THROW(tarn::image_view(pixels, 2, 2, pixel_format::rgb, 6));
}

TEST(ReadBarcodes, OptionsLimitTheSymbolsAndStripTheCheckCharacter) {
  const page& p = pages[2];
  const auto read = [&](int max, tarn::checksum_mode checksum) {
    tarn::read_options options;
    options.max_symbols = max;
    options.checksum = checksum;
    std::string seen;  // text|raw|check character, + when it checks
    for (const tarn::barcode& b :
         tarn::read_barcodes({p.grey.data(), p.width, p.height}, options))
      seen += b.text + "|" + b.raw + "|" + b.check_char +
              (b.check_char_ok ? "+ " : "- ");
    return seen;
  };
  const std::string all = read(0, tarn::checksum_mode::none);
  for (const char* symbol : {"B33H|B33H|H+ ", "A17|A17|7- "})
    EXPECT_NE(all.find(symbol), std::string::npos) << all;
  for (int max : {1, 2}) {
    const std::string some = read(max, tarn::checksum_mode::none);
    EXPECT_EQ(std::count(some.begin(), some.end(), ' '), max) << some;
    EXPECT_EQ(all.rfind(some, 0), 0u) << some;
  }
  // The others fail the check.
  EXPECT_EQ(read(0, tarn::checksum_mode::strip), "B33|B33H|H+ ");
}

// A BigTIFF of two pages; JPEG files cut short, or with a header libjpeg
// refuses (through its error exit), and a missing file: each an error filed.
TEST(ReadFile, NumbersPagesAndFilesErrors) {
  const struct temp_dir {  // removed however the test ends
    fs::path path = fs::temp_directory_path() /
                    ("tarn-scan-lib-" + std::to_string(getpid()));
    ~temp_dir() { fs::remove_all(path); }
  } temp;
  const fs::path& dir = temp.path;
  fs::create_directories(dir);
  TIFF* tiff = TIFFOpen((dir / "big.tif").c_str(), "w8");
  ASSERT_NE(tiff, nullptr);
  for (const page& p : {pages[0], pages[1]}) {
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, p.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, p.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, p.height);
    TIFFWriteEncodedStrip(tiff, 0, const_cast<std::uint8_t*>(p.grey.data()),
                          tmsize_t(p.grey.size()));
    TIFFWriteDirectory(tiff);
  }
  TIFFClose(tiff);
  const auto big = tarn::read_file((dir / "big.tif").string());
  ASSERT_EQ(big.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(big[i].page, i + 1);
    EXPECT_EQ(big[i].error, "");
    expect_drawn(big[i].barcodes, pages[i], "page " + std::to_string(i + 1));
    for (const tarn::barcode& b : big[i].barcodes) EXPECT_EQ(b.page, i + 1);
  }
  std::ifstream in(TARN_SOURCE_DIR "/samples/phone-photo.jpg",
                   std::ios::binary);
  std::string jpeg{std::istreambuf_iterator<char>(in), {}};
  const std::string cut = jpeg.substr(0, jpeg.size() / 2);
  const std::size_t height = jpeg.find("\xff\xc0") + 5;  // of the frame
  jpeg[height] = jpeg[height + 1] = 0;
  const std::tuple<const char*, std::string, std::string> cases[] = {
      {"cut.jpg", cut, "bad JPEG image: Premature end of JPEG file"},
      {"empty.jpg", jpeg, "bad JPEG image: Empty JPEG image"},
      {"missing.png", "", "No such file or directory"},
  };
  for (const auto& [name, bytes, error] : cases) {
    if (!bytes.empty()) std::ofstream(dir / name, std::ios::binary) << bytes;
    const auto pages = tarn::read_file((dir / name).string());
    ASSERT_EQ(pages.size(), 1u) << name;
    EXPECT_EQ(pages[0].page, 0);
    EXPECT_TRUE(pages[0].barcodes.empty());
    EXPECT_NE(pages[0].error.find(error), std::string::npos) << pages[0].error;
  }
}

// As tests/host/data/report.json records tarn-scan --json --profile-svg.
TEST(JsonLines, AsTarnScanPrintsThem) {
  const std::string name = "samples/quarter-turn.png";
  std::ifstream records(TARN_SOURCE_DIR "/tests/host/data/report.json");
  std::string record;
  while (std::getline(records, record) &&
         record.rfind("{\"file\":\"" + name, 0) != 0) {
  }
  tarn::read_options graded;
  graded.grade = true;
  const tarn::scanner scanner(TARN_PLUGIN_PATH);
  EXPECT_EQ(tarn::json_lines(
                name, scanner.read_file(TARN_SOURCE_DIR "/" + name, graded)),
            record + "\n");
}

}  // namespace
