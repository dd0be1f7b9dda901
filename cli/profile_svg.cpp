#include "profile_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tarn/scan.h"

namespace {

// Panel layout in SVG user units.
constexpr double panel_width = 1000, panel_height = 380;
constexpr double plot_left = 60, plot_right = 720;
constexpr double plot_top = 40, plot_bottom = 320;
constexpr double legend_left = 775;

std::string number(double value, int decimals = 2) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string escape_xml(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else if (static_cast<unsigned char>(c) >= 0x20)
      out += c;
  }
  return out;
}

// Maps modules and reflectance to the panel's coordinates.
struct plot_scale {
  double first_module, last_module, top;
  double x(double module) const {
    return plot_left + (module - first_module) / (last_module - first_module) *
                           (plot_right - plot_left);
  }
  double y(double reflectance) const {
    return top + plot_bottom - reflectance * (plot_bottom - plot_top);
  }
  double x_of_sample(const tarn::profile_grade& p, double sample) const {
    return x(p.first_module + sample * p.modules_per_sample);
  }
};

std::string line(double x1, double y1, double x2, double y2,
                 const std::string& style) {
  return "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" +
         number(x2) + "\" y2=\"" + number(y2) + "\" " + style + "/>\n";
}

std::string text(double x, double y, const std::string& content,
                 const std::string& style = "") {
  return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" " + style +
         ">" + escape_xml(content) + "</text>\n";
}

std::string polyline(const plot_scale& s, const tarn::profile_grade& p,
                     const std::string& style) {
  std::string points;
  for (std::size_t i = 0; i < p.samples.size(); ++i)
    points += number(s.x_of_sample(p, static_cast<double>(i))) + "," +
              number(s.y(p.samples[i])) + " ";
  return "<polyline fill=\"none\" " + style + " points=\"" + points + "\"/>\n";
}

std::string axes(const plot_scale& s) {
  std::string svg =
      line(plot_left, s.y(0), plot_right, s.y(0), "stroke=\"black\"") +
      line(plot_left, s.y(0), plot_left, s.y(1), "stroke=\"black\"");
  for (double r = 0; r <= 1.0001; r += 0.25)
    svg += text(plot_left - 8, s.y(r) + 4, number(r),
                "text-anchor=\"end\" font-size=\"11\"");
  for (double m = 10 * std::ceil(s.first_module / 10); m <= s.last_module;
       m += 10)
    svg += line(s.x(m), s.y(0), s.x(m), s.y(0) + 5, "stroke=\"black\"") +
           text(s.x(m), s.y(0) + 18, std::to_string(std::lround(m)),
                "text-anchor=\"middle\" font-size=\"11\"");
  svg += text((plot_left + plot_right) / 2, s.y(0) + 36,
              "position along the symbol (modules, 0 at the first bar)",
              "text-anchor=\"middle\" font-size=\"12\"");
  const std::string middle = number(s.y(0.5));
  return svg +
         text(
             plot_left - 42, s.y(0.5), "reflectance",
             "font-size=\"12\" text-anchor=\"middle\" transform=\"rotate(-90 " +
                 number(plot_left - 42) + " " + middle + ")\"");
}

// Rmax, Rmin and the global threshold across the plot, labelled.
std::string levels(const plot_scale& s, const tarn::profile_measures& m) {
  const struct {
    const char* name;
    float value;
    const char* colour;
  } marks[] = {{"Rmax", m.rmax, "#2a8f3c"},
               {"GT", m.global_threshold, "#e07b00"},
               {"Rmin", m.rmin, "#c0392b"}};
  std::string svg;
  for (const auto& mark : marks)
    svg += line(plot_left, s.y(mark.value), plot_right, s.y(mark.value),
                std::string("stroke=\"") + mark.colour +
                    "\" stroke-dasharray=\"6 4\"") +
           text(plot_right + 4, s.y(mark.value) + 4, mark.name,
                std::string("font-size=\"11\" fill=\"") + mark.colour + "\"");
  return svg;
}

// The worst element's ERN: the element shaded, the dip drawn beside it.
std::string ern_mark(const plot_scale& s, const tarn::profile_grade& p) {
  const tarn::profile_measures& m = p.measures;
  if (m.ern_max <= 0) return {};
  const tarn::profile_element& worst = m.elements[m.ern_element];
  const double left = s.x_of_sample(p, static_cast<double>(worst.first));
  const double right = s.x_of_sample(p, static_cast<double>(worst.last));
  const double peak = worst.reflectance;
  const double valley = worst.bar ? peak + m.ern_max : peak - m.ern_max;
  return "<rect x=\"" + number(left) + "\" y=\"" + number(s.y(1)) +
         "\" width=\"" + number(right - left) + "\" height=\"" +
         number(s.y(0) - s.y(1)) + "\" fill=\"#d63cb0\" opacity=\"0.12\"/>\n" +
         line(right, s.y(peak), right, s.y(valley),
              "stroke=\"#d63cb0\" stroke-width=\"2\"") +
         text(right + 3, s.y((peak + valley) / 2), "ERN " + number(m.ern_max),
              "font-size=\"11\" fill=\"#d63cb0\"");
}

// The ECmin pair: the two elements' reflectances joined at their edge.
std::string ecmin_mark(const plot_scale& s, const tarn::profile_grade& p) {
  const tarn::profile_measures& m = p.measures;
  if (m.ecmin_element >= m.edges.size()) return {};
  const float a = m.elements[m.ecmin_element].reflectance;
  const float b = m.elements[m.ecmin_element + 1].reflectance;
  const double x = s.x_of_sample(p, m.edges[m.ecmin_element]);
  return line(x, s.y(a), x, s.y(b), "stroke=\"#7b3fc4\" stroke-width=\"3\"") +
         text(x + 4, s.y(std::max(a, b)) - 4,
              "ECmin " + number(m.edge_contrast_min, 3),
              "font-size=\"11\" fill=\"#7b3fc4\"");
}

// The element edges, the worst element's ERN and the ECmin pair.
std::string marks(const plot_scale& s, const tarn::profile_grade& p) {
  std::string svg;
  for (double edge : p.measures.edges)
    svg += line(s.x_of_sample(p, edge), s.y(0), s.x_of_sample(p, edge), s.y(1),
                "stroke=\"#aaa\" stroke-width=\"0.5\"");
  return svg + ern_mark(s, p) + ecmin_mark(s, p);
}

std::string legend(double top, const tarn::symbol_grade& grade,
                   const tarn::profile_grade& worst) {
  std::string svg =
      text(legend_left, top + 60,
           "symbol grade " + number(grade.grade, 1) + " (" +
               tarn::grade_letter(grade.grade) + ")",
           "font-size=\"14\" font-weight=\"bold\"") +
      text(legend_left, top + 80,
           "worst profile: grade " + std::to_string(worst.grade) + ", at " +
               std::to_string(static_cast<int>(worst.band_position * 100)) +
               " % of the height",
           "font-size=\"11\"");
  const tarn::profile_measures& m = worst.measures;
  // What each pass/fail parameter was judged on.
  const std::string measured[] = {
      "", " Rmin " + number(m.rmin) + ", Rmax " + number(m.rmax), "",
      " " + number(m.edge_contrast_min, 3)};
  for (int i = 0; i < tarn::parameter_count; ++i) {
    const auto p = static_cast<tarn::parameter>(i);
    const tarn::parameter_score& score = worst.scores[i];
    const std::string result =
        i < 4 ? measured[i] + (score.grade == 4 ? " pass" : " FAIL")
              : " " + number(score.value) + "  grade " +
                    std::to_string(static_cast<int>(score.grade));
    svg += text(legend_left, top + 104 + 18 * i,
                std::string(tarn::parameter_name(p)) + ":" + result,
                "font-size=\"12\"");
  }
  return svg +
         text(legend_left, top + 260,
              "aperture " + number(grade.aperture_px) + " px, X " +
                  number(grade.module_px) + " px",
              "font-size=\"11\"") +
         text(legend_left, top + 278, "estimated from an image",
              "font-size=\"11\" font-style=\"italic\"");
}

std::string panel(const svg_panel& panel, double top) {
  const tarn::symbol_grade& grade = panel.grade;
  const tarn::profile_grade& worst = tarn::worst_profile(grade);
  plot_scale s{0, 1, top};
  s.first_module = worst.first_module;
  s.last_module = worst.first_module + 1;
  for (const tarn::profile_grade& p : grade.profiles) {
    s.first_module = std::min(s.first_module, p.first_module);
    s.last_module =
        std::max(s.last_module,
                 p.first_module + p.samples.size() * p.modules_per_sample);
  }
  std::string svg = text(plot_left, top + 22, panel.title,
                         "font-size=\"15\" font-weight=\"bold\"") +
                    axes(s) + levels(s, worst.measures) + marks(s, worst);
  for (const tarn::profile_grade& p : grade.profiles)
    if (&p != &worst)
      svg += polyline(s, p, "stroke=\"#888\" stroke-opacity=\"0.3\"");
  return svg + polyline(s, worst, "stroke=\"#1f4e9c\" stroke-width=\"1.4\"") +
         legend(top, grade, worst);
}

}  // namespace

std::string profile_svg(const std::vector<svg_panel>& panels) {
  const double height = panel_height * std::max<std::size_t>(panels.size(), 1);
  std::string svg =
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
      number(panel_width) + "\" height=\"" + number(height) +
      "\" viewBox=\"0 0 " + number(panel_width) + " " + number(height) +
      "\" font-family=\"sans-serif\">\n<rect width=\"100%\" height=\"100%\" "
      "fill=\"white\"/>\n";
  for (std::size_t i = 0; i < panels.size(); ++i)
    svg += panel(panels[i], panel_height * static_cast<double>(i));
  return svg + "</svg>\n";
}
