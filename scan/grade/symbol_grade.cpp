#include "grade/symbol_grade.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "grade/code39_measures.h"
#include "grade/grade_scale.h"
#include "grade/profile_sampler.h"
#include "grade/scan_profile.h"

namespace {

// ISO/IEC 15416's method: at least ten profiles spread evenly over the
// inspection band, the middle 80 % of the bar height, each running through
// ten X of quiet zone on either side.
constexpr int profile_count = 10;
constexpr double band_margin = 0.1;
constexpr double quiet_zone_modules = 10.0;
// An edge at the global threshold lies within a fraction of a module of the
// printed one, moved by blur and the aperture: a quiet zone this much short
// of ten X still counts as whole.
constexpr double quiet_zone_tolerance = 0.25;
constexpr double ratio_range[2] = {2.0, 3.0};
// The pass/fail parameters' limits: Rmin <= 0.5 Rmax, ECmin >= 15 %.
constexpr float most_rmin_of_rmax = 0.5f;
constexpr float least_ecmin = 0.15f;

struct parameter_names {
  const char* name;
  const char* key;
};
constexpr parameter_names names[parameter_count] = {
    {"decode", "decode"},
    {"Rmin", "minimum_reflectance"},
    {"edges", "edge_determination"},
    {"ECmin", "minimum_edge_contrast"},
    {"SC", "symbol_contrast"},
    {"MOD", "modulation"},
    {"defects", "defects"},
    {"decodability", "decodability"},
};

point along(point a, point b, double t) {
  return {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
}

parameter_score pass_fail(bool passed) {
  return {passed ? 1.0 : 0.0, passed ? 4.0 : 0.0};
}

parameter_score graded_score(graded p, double value) {
  return {value, static_cast<double>(grade_of(p, value))};
}

parameter_score& score(profile_grade& profile, parameter p) {
  return profile.scores[static_cast<int>(p)];
}
int grade_value(const profile_grade& profile, parameter p) {
  return static_cast<int>(profile.scores[static_cast<int>(p)].grade);
}

// The plug-in's on_decoded is a plain function pointer: the profile being
// decoded reaches it through this.
thread_local const profile_grade* profile_being_decoded = nullptr;

void set_scan_grade(tarn_result& result) {
  const profile_grade& p = *profile_being_decoded;
  result.passed_1 = grade_value(p, parameter::edge_determination) == 4;
  result.passed_2 = grade_value(p, parameter::minimum_reflectance) == 4;
  result.passed_3 = grade_value(p, parameter::minimum_edge_contrast) == 4;
  result.grade_1 = grade_value(p, parameter::symbol_contrast);
  result.grade_2 = grade_value(p, parameter::modulation);
  result.grade_3 = grade_value(p, parameter::defects);
  result.grade_4 = grade_value(p, parameter::decodability);
}

void score_measures(profile_grade& profile) {
  const profile_measures& m = profile.measures;
  const double sc = m.symbol_contrast;
  score(profile, parameter::edge_determination) = pass_fail(m.edges_determined);
  score(profile, parameter::minimum_reflectance) =
      pass_fail(m.rmin <= most_rmin_of_rmax * m.rmax);
  score(profile, parameter::minimum_edge_contrast) =
      pass_fail(m.edge_contrast_min >= least_ecmin);
  score(profile, parameter::symbol_contrast) =
      graded_score(graded::symbol_contrast, sc);
  score(profile, parameter::modulation) =
      graded_score(graded::modulation, sc > 0 ? m.edge_contrast_min / sc : 0.0);
  score(profile, parameter::defects) =
      graded_score(graded::defects, sc > 0 ? m.ern_max / sc : 1.0);
  score(profile, parameter::decodability) = graded_score(
      graded::decodability,
      m.edges_determined ? code39_decodability(symbol_widths(m)) : 0.0);
}

// Decodes the profile's edges through the plug-in, which grades the scan
// with what set_scan_grade hands it.
void decode_profile(profile_grade& profile, const decoder_1d_interface& decoder,
                    const found_symbol& symbol, TARN_CHECKSUMFLAGS checksum) {
  tarn_result result;
  result.edges = profile.measures.edges;
  profile_being_decoded = &profile;
  bool decoded = false;
  try {
    decoded = decoder.decode(result, checksum, nullptr, 0, set_scan_grade);
  } catch (...) {
  }
  profile_being_decoded = nullptr;
  const auto filed = result.candidates.find("Code39 Extended");
  decoded = decoded && filed != result.candidates.end() &&
            filed->second.text == symbol.read.text;
  score(profile, parameter::decode) = pass_fail(decoded);
  profile.grade = decoded ? result.overall_grade : 0;
}

// The line a profile samples: from `start`, a sample every `step` pixels
// along `axis`.
struct profile_line {
  point start;
  point axis;
  double step;
  point at(double sample) const {
    return {start.x + sample * step * axis.x, start.y + sample * step * axis.y};
  }
};

// Each quiet zone, from the symbol's outer edge on the profile to the next
// ink outward, however far beyond the profile it lies.
void measure_quiet_zones(profile_grade& profile, const profile_sampler& sampler,
                         const profile_line& line, std::size_t first,
                         double module_px) {
  const profile_measures& m = profile.measures;
  if (m.edges.empty() || m.elements.front().bar || m.elements.back().bar)
    return;
  const double offset = static_cast<double>(first);
  const point& axis = line.axis;
  profile.quiet_zones[0] =
      sampler.light_run(line.at(offset + m.edges.front()), {-axis.x, -axis.y},
                        line.step, m.global_threshold) /
      module_px;
  profile.quiet_zones[1] =
      sampler.light_run(line.at(offset + m.edges.back()), axis, line.step,
                        m.global_threshold) /
      module_px;
}

}  // namespace

symbol_grade grade_symbol(const decoder_1d_interface& decoder,
                          const grey_view& image, const found_symbol& symbol,
                          const grade_options& options) {
  symbol_grade grade;
  const auto& c = symbol.corners;
  const double length = std::hypot(c[1].x - c[0].x, c[1].y - c[0].y);
  if (!symbol.located || symbol.module_size <= 0 || length <= 0) return grade;
  grade.located = true;
  grade.module_px = symbol.module_size;
  grade.dpi = options.dpi;
  grade.aperture_px = options.aperture_in_mils && options.dpi > 0
                          ? options.aperture / 1000 * options.dpi
                          : options.aperture * symbol.module_size;
  const point axis{(c[1].x - c[0].x) / length, (c[1].y - c[0].y) / length};
  const double quiet_px = quiet_zone_modules * symbol.module_size;
  const double step = std::min(0.5, symbol.module_size / 8);
  const profile_sampler sampler(image, options.linear, grade.aperture_px);

  double total = 0;
  for (int i = 0; i < profile_count; ++i) {
    profile_grade profile;
    profile.band_position =
        band_margin + (1 - 2 * band_margin) * (i + 0.5) / profile_count;
    const point start = along(c[0], c[3], profile.band_position);
    const point stop = along(c[1], c[2], profile.band_position);
    const profile_line line{
        {start.x - quiet_px * axis.x, start.y - quiet_px * axis.y}, axis, step};
    std::size_t first = 0;
    profile.samples = sampler.sample(
        line.start, {stop.x + quiet_px * axis.x, stop.y + quiet_px * axis.y},
        step, first);
    profile.modules_per_sample = step / symbol.module_size;
    profile.first_module =
        static_cast<double>(first) * profile.modules_per_sample -
        quiet_zone_modules;
    profile.measures = measure_profile(profile.samples);
    profile.checks = check_code39(symbol_widths(profile.measures));
    measure_quiet_zones(profile, sampler, line, first, symbol.module_size);
    score_measures(profile);
    decode_profile(profile, decoder, symbol, options.checksum);
    total += profile.grade;
    grade.profiles.push_back(std::move(profile));
  }
  grade.grade = total / profile_count;
  return grade;
}

namespace tarn {

const char* parameter_name(parameter p) {
  return names[static_cast<int>(p)].name;
}
const char* parameter_key(parameter p) {
  return names[static_cast<int>(p)].key;
}

parameter_score mean_score(const symbol_grade& grade, parameter p) {
  parameter_score mean;
  if (grade.profiles.empty()) return mean;
  for (const profile_grade& profile : grade.profiles) {
    mean.value += profile.scores[static_cast<int>(p)].value;
    mean.grade += profile.scores[static_cast<int>(p)].grade;
  }
  const auto n = static_cast<double>(grade.profiles.size());
  return {mean.value / n, mean.grade / n};
}

std::optional<parameter> weakest_parameter(const symbol_grade& grade) {
  parameter weakest = parameter::decode;
  for (int i = 1; i < parameter_count; ++i) {
    const auto p = static_cast<parameter>(i);
    if (mean_score(grade, p).grade < mean_score(grade, weakest).grade)
      weakest = p;
  }
  if (mean_score(grade, weakest).grade >= 4) return std::nullopt;
  return weakest;
}

const profile_grade& worst_profile(const symbol_grade& grade) {
  return *std::min_element(
      grade.profiles.begin(), grade.profiles.end(),
      [](const auto& a, const auto& b) { return a.grade < b.grade; });
}

symbol_checks code39_symbol_checks(const symbol_grade& grade) {
  symbol_checks checks;
  int decoded = 0;
  checks.quiet_zones[0] = checks.quiet_zones[1] =
      std::numeric_limits<double>::infinity();
  for (const profile_grade& p : grade.profiles) {
    if (grade_value(p, parameter::decode) != 4) continue;
    ++decoded;
    checks.wide_narrow_ratio += p.checks.wide_narrow_ratio;
    checks.widest_gap = std::max(checks.widest_gap, p.checks.widest_gap);
    for (int side = 0; side < 2; ++side)
      checks.quiet_zones[side] =
          std::min(checks.quiet_zones[side], p.quiet_zones[side]);
  }
  if (decoded == 0) return symbol_checks{};
  checks.measured = true;
  checks.wide_narrow_ratio /= decoded;
  const double ratio = std::round(checks.wide_narrow_ratio * 10) / 10;
  checks.ratio_ok = ratio >= ratio_range[0] && ratio <= ratio_range[1];
  checks.quiet_zones_ok =
      std::min(checks.quiet_zones[0], checks.quiet_zones[1]) >=
      quiet_zone_modules - quiet_zone_tolerance;
  return checks;
}

double modules_to_mm(const symbol_grade& grade, double modules) {
  return grade.dpi > 0 ? modules * grade.module_px / grade.dpi * 25.4 : 0.0;
}

}  // namespace tarn
