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
#include "read/decoder_plugin.h"
#include "support/code39_model.h"

namespace {

constexpr int module_px = 6, height = 40, bar_top = 5, bar_bottom = 35;

struct drawing {
  double ratio = 3.0;
  float bar = 0.05f, space = 0.85f;
  std::map<int, float> element_reflectance;  // element index -> reflectance
  int moved_edge = 0, moved_px = 0;  // edge after element moved_edge: right
  int spot_element = -1;  // a 1 X dark band across this element's middle
  float spot_depth = 0;
  int quiet_modules = 12;
  double aperture = 0.8;  // in X
};

using drawn_symbol = std::pair<grey_image, found_symbol>;

// "*AB1*" drawn as `d` says, with the symbol the finder would report.
drawn_symbol draw(const drawing& d) {
  code39::print print;
  print.narrow = print.gap = module_px;
  print.ratio = d.ratio;
  const std::vector<double> edges = code39::symbol_edges("AB1", print);
  std::vector<int> widths;  // in pixels, bar first, gaps between characters
  for (std::size_t i = 1; i < edges.size(); ++i)
    widths.push_back(int(std::lround(edges[i] - edges[i - 1])));
  widths[d.moved_edge] += d.moved_px;
  widths[d.moved_edge + 1] -= d.moved_px;
  const int quiet = d.quiet_modules * module_px;
  drawn_symbol drawn;
  grey_image& image = drawn.first;
  image.width = 2 * quiet + int(std::lround(edges.back()));
  image.height = height;
  const auto value = [](float r) { return std::uint8_t(std::lround(r * 255)); };
  image.pixels.assign(std::size_t(image.width) * height, value(d.space));
  int x = quiet;
  for (int i = 0; i < int(widths.size()); ++i) {
    const auto custom = d.element_reflectance.find(i);
    const float r = custom != d.element_reflectance.end() ? custom->second
                    : i % 2 == 0                          ? d.bar
                                                          : d.space;
    for (int px = x; px < x + widths[i]; ++px) {
      const bool in_spot =
          i == d.spot_element && std::abs(2 * (px - x) - widths[i]) < module_px;
      for (int y = bar_top; y < bar_bottom; ++y)
        image.pixels[std::size_t(y) * image.width + px] =
            value(in_spot ? r - d.spot_depth : r);
    }
    x += widths[i];
  }
  found_symbol& s = drawn.second;
  s.read.text = "AB1", s.located = true, s.module_size = module_px;
  s.corners = {point{double(quiet), bar_top}, point{double(x), bar_top},
               point{double(x), bar_bottom}, point{double(quiet), bar_bottom}};
  return drawn;
}

struct grade_case {
  const char* name;
  drawing drawn;
  // Grades of edges, Rmin, ECmin, SC, MOD, defects, decodability; letter.
  const char* expected;
  bool ratio_ok = true;
  bool quiet_zones_ok = true;
};

// By name: the bytes gtest prints otherwise include padding.
void PrintTo(const grade_case& c, std::ostream* out) { *out << c.name; }

// Elements: 0 the start's narrow first bar, 1 its wide space, 2 and 3 a
// narrow bar and space, 4 a wide bar, 5 a narrow space.
// clang-format off
const grade_case cases[] = {
    {"clean", {}, "4444444A"},
    {"sc_b", [] { drawing d; d.bar = 0.20f, d.space = 0.82f; return d; }(), "4443444B"},
    {"sc_c", [] { drawing d; d.bar = 0.30f, d.space = 0.75f; return d; }(), "4442444C"},
    {"sc_d", [] { drawing d; d.bar = 0.28f, d.space = 0.60f; return d; }(), "4441444D"},
    {"rmin_fails", [] { drawing d; d.bar = 0.47f, d.space = 0.90f; return d; }(), "4042444F"},
    {"mod_b", [] { drawing d; d.element_reflectance[3] = 0.55f; return d; }(), "4444344B"},
    {"mod_c", [] { drawing d; d.element_reflectance[2] = 0.40f; return d; }(), "4444244C"},
    {"ecmin_fails", [] { drawing d; d.element_reflectance = {{4, 0.40f}, {5, 0.50f}}; return d; }(), "4404044F"},
    {"defects_b", [] { drawing d; d.spot_element = 1, d.spot_depth = 0.14f; return d; }(), "4444434B"},
    {"defects_d", [] { drawing d; d.spot_element = 1, d.spot_depth = 0.23f; return d; }(), "4444414D"},
    {"ratio_2", [] { drawing d; d.ratio = 2.0; return d; }(), "4444444A"},
    {"decodability_b", [] { drawing d; d.ratio = 2.5, d.moved_edge = 0, d.moved_px = 2; return d; }(), "4444443B"},
    {"decodability_d", [] { drawing d; d.ratio = 2.5, d.moved_edge = 0, d.moved_px = 3; return d; }(), "4444441D"},
    {"ratio_too_wide", [] { drawing d; d.ratio = 3.5; return d; }(), "4444444A", false},
    // A 1.5 X disc over a narrow element keeps 78 % of its contrast.
    {"aperture_1_5x", [] { drawing d; d.aperture = 1.5; return d; }(), "4444244C"},
    {"quiet_zone_cut", [] { drawing d; d.quiet_modules = 5; return d; }(), "4444444A", true, false},
};
// clang-format on

symbol_grade grade_of(const drawing& d) {
  static const decoder_plugin plugin(TARN_PLUGIN_PATH);
  static const auto decoder = plugin.new_decoder();
  const drawn_symbol drawn = draw(d);
  grade_options options;
  options.linear = true;
  options.aperture = d.aperture;
  return grade_symbol(*decoder, drawn.first, drawn.second, options);
}

class grade_test : public testing::TestWithParam<grade_case> {};

TEST_P(grade_test, grades_what_was_drawn) {
  const grade_case& c = GetParam();
  const symbol_grade grade = grade_of(c.drawn);
  ASSERT_EQ(grade.profiles.size(), 10u);
  using p = parameter;
  const parameter checked[] = {
      p::edge_determination, p::minimum_reflectance, p::minimum_edge_contrast,
      p::symbol_contrast,    p::modulation,          p::defects,
      p::decodability};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(mean_score(grade, checked[i]).grade, c.expected[i] - '0')
        << parameter_name(checked[i]) << " "
        << mean_score(grade, checked[i]).value;
  EXPECT_EQ(mean_score(grade, parameter::decode).grade, 4);
  EXPECT_EQ(grade_letter(grade.grade), c.expected[7]) << grade.grade;
  const symbol_checks checks = code39_symbol_checks(grade);
  EXPECT_EQ(checks.ratio_ok, c.ratio_ok) << checks.wide_narrow_ratio;
  EXPECT_EQ(checks.quiet_zones_ok, c.quiet_zones_ok) << checks.quiet_zones[0];
  // Measured to the image's border, however wide.
  for (const double quiet_zone : checks.quiet_zones)
    EXPECT_NEAR(quiet_zone, c.drawn.quiet_modules, 0.1);
}

INSTANTIATE_TEST_SUITE_P(drawn, grade_test, testing::ValuesIn(cases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
