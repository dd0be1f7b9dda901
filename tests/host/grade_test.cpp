// Grades of drawn Code 39 symbols whose parameters are known from how they
// are drawn: bar and space reflectances (SC, Rmin), one element at another
// reflectance (ECmin, MOD), a dark spot in a space (defects), the wide/narrow
// ratio and a moved edge (decodability), a cut quiet zone.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "grade/grade_scale.h"
#include "grade/symbol_grade.h"
#include "output/grade_report.h"
#include "read/decoder_plugin.h"

namespace {

constexpr int module_px = 6;
constexpr int height = 40;
constexpr int bar_top = 5, bar_bottom = 35;
const std::string data = "AB1";

// A character's nine elements, bar first: 'w' wide, 'n' narrow.
std::string code39_pattern(char c) {
  static const std::map<char, std::string> patterns = {{'*', "nwnnwnwnn"},
                                                       {'A', "wnnnnwnnw"},
                                                       {'B', "nnwnnwnnw"},
                                                       {'1', "wnnwnnnnw"}};
  return patterns.at(c);
}

struct drawing {
  double ratio = 3.0;
  float bar = 0.05f, space = 0.85f;
  std::map<int, float> element_reflectance;  // element index -> reflectance
  int moved_edge = -1;  // the edge after this element moves right
  int moved_px = 0;
  int spot_element = -1;  // a 1 X dark band across this element's middle
  float spot_depth = 0;
  int quiet_modules = 12;
  double aperture = 0.8;  // in X
};

struct drawn_symbol {
  grey_image image;
  found_symbol symbol;
};

// Element widths in pixels, bar first, gaps between the characters.
std::vector<int> element_px(const drawing& d) {
  std::vector<int> widths;
  const std::string text = "*" + data + "*";
  for (std::size_t c = 0; c < text.size(); ++c) {
    if (c > 0) widths.push_back(module_px);
    for (char e : code39_pattern(text[c]))
      widths.push_back(e == 'w'
                           ? static_cast<int>(std::lround(d.ratio * module_px))
                           : module_px);
  }
  if (d.moved_edge >= 0) {
    widths[d.moved_edge] += d.moved_px;
    widths[d.moved_edge + 1] -= d.moved_px;
  }
  return widths;
}

drawn_symbol draw(const drawing& d) {
  const std::vector<int> widths = element_px(d);
  const int quiet = d.quiet_modules * module_px;
  int symbol_px = 0;
  for (int w : widths) symbol_px += w;
  drawn_symbol drawn;
  grey_image& image = drawn.image;
  image.width = 2 * quiet + symbol_px;
  image.height = height;
  const auto value = [](float r) {
    return static_cast<std::uint8_t>(std::lround(r * 255));
  };
  image.pixels.assign(static_cast<std::size_t>(image.width) * height,
                      value(d.space));
  int x = quiet;
  for (int i = 0; i < static_cast<int>(widths.size()); ++i) {
    const bool bar = i % 2 == 0;
    const auto custom = d.element_reflectance.find(i);
    float r = custom != d.element_reflectance.end() ? custom->second
              : bar                                 ? d.bar
                                                    : d.space;
    for (int px = x; px < x + widths[i]; ++px) {
      const bool in_spot =
          i == d.spot_element && std::abs(2 * (px - x) - widths[i]) < module_px;
      for (int y = bar_top; y < bar_bottom; ++y)
        image.pixels[static_cast<std::size_t>(y) * image.width + px] =
            value(in_spot ? r - d.spot_depth : r);
    }
    x += widths[i];
  }
  found_symbol& s = drawn.symbol;
  s.read.text = data;
  s.located = true;
  s.module_size = module_px;
  s.corners = {point{double(quiet), bar_top}, point{double(x), bar_top},
               point{double(x), bar_bottom}, point{double(quiet), bar_bottom}};
  return drawn;
}

struct grade_case {
  const char* name;
  drawing drawn;
  // Expected: edges, Rmin, ECmin passed; SC, MOD, defects, decodability.
  bool passed[3];
  int grades[4];
  char letter;
  bool ratio_ok = true;
  bool quiet_zones_ok = true;
};

// By name: the bytes gtest prints otherwise include padding.
void PrintTo(const grade_case& c, std::ostream* out) { *out << c.name; }

drawing with(void (*change)(drawing&)) {
  drawing d;
  change(d);
  return d;
}

const grade_case cases[] = {
    {"clean", {}, {1, 1, 1}, {4, 4, 4, 4}, 'A'},
    {"sc_b",
     with([](drawing& d) { d.bar = 0.20f, d.space = 0.82f; }),
     {1, 1, 1},
     {3, 4, 4, 4},
     'B'},
    {"sc_c",
     with([](drawing& d) { d.bar = 0.30f, d.space = 0.75f; }),
     {1, 1, 1},
     {2, 4, 4, 4},
     'C'},
    {"sc_d",
     with([](drawing& d) { d.bar = 0.28f, d.space = 0.60f; }),
     {1, 1, 1},
     {1, 4, 4, 4},
     'D'},
    {"rmin_fails",
     with([](drawing& d) { d.bar = 0.47f, d.space = 0.90f; }),
     {1, 0, 1},
     {2, 4, 4, 4},
     'F'},
    // Elements 2 and 3 are a narrow bar and space, 4 a wide bar, 5 a narrow
    // space.
    {"mod_b",
     with([](drawing& d) { d.element_reflectance[3] = 0.55f; }),
     {1, 1, 1},
     {4, 3, 4, 4},
     'B'},
    {"mod_c",
     with([](drawing& d) { d.element_reflectance[2] = 0.40f; }),
     {1, 1, 1},
     {4, 2, 4, 4},
     'C'},
    {"ecmin_fails",
     with([](drawing& d) {
       d.element_reflectance[4] = 0.40f, d.element_reflectance[5] = 0.50f;
     }),
     {1, 1, 0},
     {4, 0, 4, 4},
     'F'},
    // Element 1 is the start character's wide space.
    {"defects_b",
     with([](drawing& d) { d.spot_element = 1, d.spot_depth = 0.14f; }),
     {1, 1, 1},
     {4, 4, 3, 4},
     'B'},
    {"defects_d",
     with([](drawing& d) { d.spot_element = 1, d.spot_depth = 0.23f; }),
     {1, 1, 1},
     {4, 4, 1, 4},
     'D'},
    {"ratio_2",
     with([](drawing& d) { d.ratio = 2.0; }),
     {1, 1, 1},
     {4, 4, 4, 4},
     'A'},
    // Element 0, the start's narrow first bar, grows into its space.
    {"decodability_b",
     with([](drawing& d) { d.ratio = 2.5, d.moved_edge = 0, d.moved_px = 2; }),
     {1, 1, 1},
     {4, 4, 4, 3},
     'B'},
    {"decodability_d",
     with([](drawing& d) { d.ratio = 2.5, d.moved_edge = 0, d.moved_px = 3; }),
     {1, 1, 1},
     {4, 4, 4, 1},
     'D'},
    {"ratio_too_wide",
     with([](drawing& d) { d.ratio = 3.5; }),
     {1, 1, 1},
     {4, 4, 4, 4},
     'A',
     false},
    // A 1.5 X disc over a narrow element keeps 78 % of its contrast.
    {"aperture_1_5x",
     with([](drawing& d) { d.aperture = 1.5; }),
     {1, 1, 1},
     {4, 2, 4, 4},
     'C'},
    {"quiet_zone_cut",
     with([](drawing& d) { d.quiet_modules = 5; }),
     {1, 1, 1},
     {4, 4, 4, 4},
     'A',
     true,
     false},
};

class grade_test : public testing::TestWithParam<grade_case> {};

TEST_P(grade_test, grades_what_was_drawn) {
  const grade_case& c = GetParam();
  const decoder_plugin plugin(TARN_PLUGIN_PATH);
  const auto decoder = plugin.new_decoder();
  const drawn_symbol drawn = draw(c.drawn);
  grade_options options;
  options.linear = true;
  options.aperture = c.drawn.aperture;
  const symbol_grade grade =
      grade_symbol(*decoder, drawn.image, drawn.symbol, options);
  ASSERT_EQ(grade.profiles.size(), 10u);
  const parameter checked[] = {parameter::edge_determination,
                               parameter::minimum_reflectance,
                               parameter::minimum_edge_contrast,
                               parameter::symbol_contrast,
                               parameter::modulation,
                               parameter::defects,
                               parameter::decodability};
  const int expected[] = {4 * c.passed[0], 4 * c.passed[1], 4 * c.passed[2],
                          c.grades[0],     c.grades[1],     c.grades[2],
                          c.grades[3]};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(mean_score(grade, checked[i]).grade, expected[i])
        << parameter_name(checked[i]) << " "
        << mean_score(grade, checked[i]).value;
  EXPECT_EQ(mean_score(grade, parameter::decode).grade, 4);
  EXPECT_EQ(grade_letter(grade.grade), c.letter) << grade.grade;
  const symbol_checks checks = code39_symbol_checks(grade);
  EXPECT_EQ(checks.ratio_ok, c.ratio_ok) << checks.wide_narrow_ratio;
  EXPECT_EQ(checks.quiet_zones_ok, c.quiet_zones_ok) << checks.quiet_zones[0];
}

// The line names the grade, its letter and the weakest parameter, and gives
// sizes in millimetres when the resolution is known.
TEST(grade_report, line_names_the_weakest_parameter) {
  const decoder_plugin plugin(TARN_PLUGIN_PATH);
  const auto decoder = plugin.new_decoder();
  drawing d;
  d.element_reflectance[3] = 0.55f;
  const drawn_symbol drawn = draw(d);
  grade_options options;
  options.linear = true;
  options.dpi = 254;  // 0.6 mm per module of six pixels
  const std::string line =
      grade_text(grade_symbol(*decoder, drawn.image, drawn.symbol, options));
  EXPECT_EQ(line.rfind("grade 3.0 (B) weakest MOD 3.0 |", 0), 0u) << line;
  EXPECT_NE(line.find("X 0.600 mm"), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(drawn, grade_test, testing::ValuesIn(cases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
