#include "report/grade_report.h"

#include <sstream>

#include "grade/grade_scale.h"
#include "grade/scan_profile.h"
#include "report/report.h"

namespace {

std::string modules_text(const symbol_grade& grade, double modules) {
  std::string text = fixed(modules, 1) + " X";
  if (grade.dpi > 0)
    text += " (" + fixed(modules_to_mm(grade, modules), 2) + " mm)";
  return text;
}

std::string checks_text(const symbol_grade& grade) {
  const symbol_checks c = code39_symbol_checks(grade);
  if (!c.measured) return "no profile decoded";
  std::string text = c.ratio_ok && c.quiet_zones_ok ? "Code 39 checks pass: "
                                                    : "Code 39 checks FAIL: ";
  text += "wide/narrow " + fixed(c.wide_narrow_ratio, 1);
  if (!c.ratio_ok) text += " (not 2.0 to 3.0)";
  text += ", widest gap " + modules_text(grade, c.widest_gap);
  text += ", quiet zones " + modules_text(grade, c.quiet_zones[0]) + " / " +
          modules_text(grade, c.quiet_zones[1]);
  if (!c.quiet_zones_ok) text += " (under 10 X)";
  if (grade.dpi > 0) text += ", X " + fixed(modules_to_mm(grade, 1), 3) + " mm";
  return text;
}

std::string score_json(const parameter_score& score) {
  return "{\"value\":" + fixed(score.value, 3) +
         ",\"grade\":" + fixed(score.grade, 1) + "}";
}

template <typename Score>
std::string parameters_json(Score score_of) {
  std::string json = "{";
  for (int i = 0; i < parameter_count; ++i) {
    const auto p = static_cast<parameter>(i);
    if (i > 0) json += ',';
    json += json_string(parameter_key(p)) + ":" + score_json(score_of(p));
  }
  return json + "}";
}

std::string profile_json(const profile_grade& profile) {
  const profile_measures& m = profile.measures;
  return "{\"position\":" + fixed(profile.band_position, 3) +
         ",\"grade\":" + std::to_string(profile.grade) +
         ",\"rmin\":" + fixed(m.rmin, 3) + ",\"rmax\":" + fixed(m.rmax, 3) +
         ",\"global_threshold\":" + fixed(m.global_threshold, 3) +
         ",\"ecmin\":" + fixed(m.edge_contrast_min, 3) +
         ",\"ern_max\":" + fixed(m.ern_max, 3) +
         ",\"parameters\":" + parameters_json([&](parameter p) {
           return profile.scores[static_cast<int>(p)];
         }) +
         "}";
}

std::string weakest_json(const symbol_grade& grade) {
  const auto weakest = weakest_parameter(grade);
  return weakest ? json_string(parameter_key(*weakest)) : "null";
}

std::string profiles_json(const symbol_grade& grade) {
  std::string json = "[";
  for (const profile_grade& p : grade.profiles)
    json += (json.size() > 1 ? "," : "") + profile_json(p);
  return json + "]";
}

std::string checks_json(const symbol_grade& grade) {
  const symbol_checks c = code39_symbol_checks(grade);
  if (!c.measured) return "null";
  std::string json =
      std::string("{\"passed\":") +
      (c.ratio_ok && c.quiet_zones_ok ? "true" : "false") +
      ",\"wide_narrow_ratio\":" + fixed(c.wide_narrow_ratio, 2) +
      ",\"ratio_ok\":" + (c.ratio_ok ? "true" : "false") +
      ",\"widest_gap_x\":" + fixed(c.widest_gap, 2) + ",\"quiet_zones_x\":[" +
      fixed(c.quiet_zones[0], 2) + "," + fixed(c.quiet_zones[1], 2) +
      "],\"quiet_zones_ok\":" + (c.quiet_zones_ok ? "true" : "false");
  if (grade.dpi > 0) json += ",\"x_mm\":" + fixed(modules_to_mm(grade, 1), 4);
  return json + "}";
}

}  // namespace

std::string grade_text(const symbol_grade& grade) {
  if (!grade.located) return "no grade: the symbol's outline is unknown";
  std::ostringstream out;
  out << "grade " << fixed(grade.grade, 1) << " (" << grade_letter(grade.grade)
      << ")";
  if (const auto weakest = weakest_parameter(grade))
    out << " weakest " << parameter_name(*weakest) << ' '
        << fixed(mean_score(grade, *weakest).grade, 1);
  out << " |";
  for (int i = 0; i < parameter_count; ++i) {
    const auto p = static_cast<parameter>(i);
    out << ' ' << parameter_name(p) << ' '
        << fixed(mean_score(grade, p).grade, 1);
  }
  out << " | " << checks_text(grade);
  return out.str();
}

std::string grade_json(const symbol_grade& grade) {
  if (!grade.located) return "null";
  return "{\"grade\":" + fixed(grade.grade, 1) + ",\"letter\":\"" +
         grade_letter(grade.grade) + "\",\"weakest\":" + weakest_json(grade) +
         ",\"estimate\":true,\"module_px\":" + fixed(grade.module_px, 3) +
         ",\"aperture_px\":" + fixed(grade.aperture_px, 3) +
         ",\"parameters\":" +
         parameters_json([&](parameter p) { return mean_score(grade, p); }) +
         ",\"code39\":" + checks_json(grade) +
         ",\"profiles\":" + profiles_json(grade) + "}";
}
